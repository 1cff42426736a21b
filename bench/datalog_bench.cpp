// The cost of recording one value into a data log, and the heap the recorder holds while it
// records: 100 000 and 1 000 000 values of the demo definition's nine items (a row per round
// of nine, rows written out once a second of the log's time, 11 ms a value as the poller
// delivers them). The most heap the recorder holds at once (its write buffer, the row, the
// layout) must not grow with the length of the log.
//
// Run with --benchmark_repetitions=N to get medians.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "comm/vuz_monitor.h"
#include "datalog/data_log_recorder.h"
#include "document/qrndoc.h"
#include "support/recording_host.h"

namespace {

std::atomic<long> gLiveBytes{0};
std::atomic<long> gPeakBytes{0};

void CountIn(void* p) {
    const long live = gLiveBytes.fetch_add(static_cast<long>(malloc_usable_size(p))) +
                      static_cast<long>(malloc_usable_size(p));
    long peak = gPeakBytes.load();
    while (live > peak && !gPeakBytes.compare_exchange_weak(peak, live)) {
    }
}

}  // namespace

#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (!p) throw std::bad_alloc();
    CountIn(p);
    return p;
}
void operator delete(void* p) noexcept {
    if (p) gLiveBytes.fetch_sub(static_cast<long>(malloc_usable_size(p)));
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

using namespace korvath;

// No controller: the values are handed to the recorder as the poller would.
struct NoLine : ByteTransport {
    bool open(std::string&, int) override { return true; }
    void close() override {}
    std::int32_t read_byte(unsigned char*) override { return 0; }
    std::int32_t read(unsigned char*, std::int32_t) override { return 0; }
    std::int32_t write_byte(unsigned char) override { return 0; }
    std::int32_t write(const unsigned char*, std::int32_t) override { return 0; }
    bool purge() override { return true; }
    bool is_usb() const override { return false; }
};

void RecordValues(benchmark::State& state) {
    testing::RecordingHost host;
    testing::MemorySettings settings;
    CQRNDoc doc(DocumentHost{host, host, settings}, std::string(KORVATH_BIN_DIR), std::make_unique<NoLine>());
    if (!doc.LoadDefinitionFile(std::string(KORVATH_BIN_DIR) + "/PID2/3/KV4.def") || !doc.ReadDeclarations(1) ||
        doc.LoadDataItems([](std::int32_t, const char*, const float*) {}) == 0) {
        state.SkipWithError("the demo definition did not load");
        return;
    }
    CTCS_Monitor& monitor = *doc.monitor();
    const std::int32_t items = monitor.item_count();
    const long values = state.range(0);
    const std::string path = "/tmp/korvath-bench-datalog-" + std::to_string(getpid()) + ".csv";
    const std::string texts[] = {"12 %", "Third", "45.6 mph", "Locked", "40 %", "A+B", "88 C", "76 C", "14.1 V"};
    long held = 0;
    double nsPerValue = 0.0;
    for (auto _ : state) {
        const long before = gLiveBytes.load();
        gPeakBytes.store(before);
        std::int64_t now = 0;
        datalog::DataLogRecorder recorder([&now] { return now; });
        std::string why;
        if (!recorder.Start(monitor, path, "KV4.def (KV4 Four-Speed)", why)) {
            state.SkipWithError(why.c_str());
            break;
        }
        std::vector<int> ramValues;
        const auto start = std::chrono::steady_clock::now();
        for (long i = 0; i < values; ++i) {
            now += 11;
            const auto item = static_cast<std::int32_t>(i % items);
            const int raw = static_cast<int>(i % 200);
            ramValues.assign(1, raw);
            recorder.OnItemRead(item, {raw, ramValues, static_cast<float>(raw) * 0.37f, texts[item % 9]});
            if (item == 0) recorder.OnCrosshair('X', static_cast<float>(raw % 10) * 0.9f);
            if (item == items - 1) recorder.OnRoundComplete();
        }
        nsPerValue = static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                             std::chrono::steady_clock::now() - start)
                                             .count()) /
                     static_cast<double>(values);
        held = gPeakBytes.load() - before;
        recorder.Stop();
    }
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * values);
    state.counters["ns_per_value"] = nsPerValue;
    // The most heap the recorder held at once, from its construction to the last value.
    state.counters["heap_peak_bytes"] = static_cast<double>(held);
}

BENCHMARK(RecordValues)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
