#pragma once
// Counts every heap allocation of the program that includes this header. Include it in exactly
// one source file of a program: it replaces the global operator new and delete.

#include <atomic>
#include <cstdlib>
#include <new>

namespace korvath::testing {
inline std::atomic<long> g_allocations{0};
inline long AllocationCount() { return g_allocations.load(std::memory_order_relaxed); }
}  // namespace korvath::testing

// The replacements pair malloc with free themselves, which the compiler cannot see.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    korvath::testing::g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
