#pragma once
// One fuzz target per *_fuzz.cpp file:
//
//     KORVATH_FUZZ_TARGET(formula)(const std::uint8_t* data, std::size_t size) { ...; return 0; }
//
// Built as a libFuzzer program (KORVATH_LIBFUZZER defined) the target is the program's
// LLVMFuzzerTestOneInput; otherwise it registers itself with the corpus replay test, which runs
// every seed of corpus/<name>/ through it. A target reports a broken property with
// KORVATH_FUZZ_CHECK, which aborts, so both the fuzzer and the replay see it.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace korvath::fuzz {

using TargetFunction = int (*)(const std::uint8_t* data, std::size_t size);

struct Target {
    const char* name;
    TargetFunction run;
};

// Every target linked into this program, in registration order.
inline std::vector<Target>& Targets() {
    static std::vector<Target> targets;
    return targets;
}

struct Registration {
    Registration(const char* name, TargetFunction run) { Targets().push_back({name, run}); }
};

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace korvath::fuzz

#define KORVATH_FUZZ_CHECK(condition)                                                         \
    do {                                                                                      \
        if (!(condition)) {                                                                   \
            std::fprintf(stderr, "%s:%d: fuzz property broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                     \
        }                                                                                     \
    } while (0)

#ifdef KORVATH_LIBFUZZER
#define KORVATH_FUZZ_ENTRY(name)                                                            \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {     \
        return FuzzOne_##name(data, size);                                                  \
    }
#else
#define KORVATH_FUZZ_ENTRY(name)
#endif

#define KORVATH_FUZZ_TARGET(name)                                                              \
    static int FuzzOne_##name(const std::uint8_t* data, std::size_t size);                     \
    KORVATH_FUZZ_ENTRY(name)                                                                   \
    static const ::korvath::fuzz::Registration kFuzzRegistration_##name{#name, &FuzzOne_##name}; \
    static int FuzzOne_##name
