// The monitor protocol against korvath-sim over a pseudo-terminal: round trips of read_NVM on
// an unpaced line, and 256 reads on a line paced at 9600 baud compared with the time the
// characters alone need on the wire (8 characters per byte read, 1.0417 ms each).

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "comm/serialport.h"
#include "comm/vuz_monitor.h"

namespace {

using namespace korvath;

class Simulator {
public:
    explicit Simulator(std::vector<std::string> options) {
        int out[2];
        if (pipe(out) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            close(out[1]);
            std::vector<std::string> argv{std::string(KORVATH_BIN_DIR) + "/korvath-sim", "--no-drive"};
            argv.insert(argv.end(), options.begin(), options.end());
            std::vector<char*> raw;
            for (auto& a : argv) raw.push_back(a.data());
            raw.push_back(nullptr);
            execv(raw[0], raw.data());
            _exit(127);
        }
        close(out[1]);
        std::string line;
        char c;
        while (read(out[0], &c, 1) == 1 && c != '\n') line.push_back(c);
        fd_ = out[0];
        if (line.rfind("PTY ", 0) == 0) pty_ = line.substr(4);
    }
    ~Simulator() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        if (fd_ >= 0) close(fd_);
    }
    const std::string& pty() const { return pty_; }

private:
    pid_t pid_ = -1;
    int fd_ = -1;
    std::string pty_;
};

std::unique_ptr<CTCS_Monitor> MonitorOn(const std::string& device) {
    SerialPortConfig config;
    config.devicePath = device;
    auto monitor = std::make_unique<CTCS_Monitor>(std::make_unique<CSerialPort>(config, nullptr), nullptr);
    monitor->set_connected(1);
    return monitor;
}

void BM_ReadNvmRoundTrip(benchmark::State& state) {
    Simulator sim({});
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
    Simulator sim({"--baud", "9600"});
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

}  // namespace

BENCHMARK_MAIN();
