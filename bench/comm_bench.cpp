// The monitor protocol against korvath-sim over a pseudo-terminal: round trips of read_NVM on
// an unpaced line, and 256 reads on a line paced at 9600 baud compared with the time the
// characters alone need on the wire (8 characters per byte read, 1.0417 ms each). And the time a
// communication trace spends on one echoed character (a line for the character sent and one for
// its echo, each written to disk at once), which a transfer spends once per character on the wire.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "comm/serialport.h"
#include "comm/trace_file.h"
#include "comm/vuz_monitor.h"
#include "support/sim_process.h"

namespace {

using namespace korvath;

std::unique_ptr<CTCS_Monitor> MonitorOn(const std::string& device) {
    SerialPortConfig config;
    config.devicePath = device;
    auto monitor = std::make_unique<CTCS_Monitor>(std::make_unique<CSerialPort>(config, nullptr), nullptr);
    monitor->set_connected(1);
    return monitor;
}

void BM_ReadNvmRoundTrip(benchmark::State& state) {
    test::SimProcess sim({});
    auto monitor = MonitorOn(sim.pty());
    std::string error;
    std::uint16_t value = 0;
    std::int32_t address = 0;
    for (auto _ : state) {
        if (!monitor->read_NVM('e', address++ & 0xFF, value, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        benchmark::DoNotOptimize(value);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadNvmRoundTrip)->UseRealTime()->MinTime(2.0);

void BM_Read256At9600Baud(benchmark::State& state) {
    test::SimProcess sim({"--baud", "9600"});
    auto monitor = MonitorOn(sim.pty());
    std::string error;
    std::uint16_t value = 0;
    for (auto _ : state) {
        for (std::int32_t address = 0; address < 256; ++address) {
            if (!monitor->read_NVM('e', address, value, error)) {
                state.SkipWithError(error.c_str());
                return;
            }
        }
    }
    // 256 reads x 8 characters x 10 bits at 9600 baud.
    constexpr double kWireBoundMs = 256.0 * 8.0 * 10.0 * 1000.0 / 9600.0;
    state.counters["wire_bound_ms"] = kWireBoundMs;
    state.counters["ratio"] = benchmark::Counter(static_cast<double>(state.iterations()) * kWireBoundMs / 1000.0,
                                                 benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Read256At9600Baud)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);

void BM_TraceEchoedCharacter(benchmark::State& state) {
    // No limit, and a file of its own that is removed afterwards (the benchmark writes some MiB).
    const std::string path = "/tmp/korvath-trace-bench-" + std::to_string(getpid()) + ".txt";
    TraceFile trace(~std::uintmax_t{0});
    std::string why;
    if (!trace.Start(path, why)) {
        state.SkipWithError(why.c_str());
        return;
    }
    unsigned char ch = 'A';
    for (auto _ : state) {
        trace.Sent(&ch, 1);
        trace.Received(&ch, 1);
        ch = static_cast<unsigned char>(ch == 'Z' ? 'A' : ch + 1);
    }
    trace.Stop();
    ::unlink(path.c_str());
}
BENCHMARK(BM_TraceEchoedCharacter)->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();
