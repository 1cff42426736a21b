// Start-up of the `korvath` program: the time from starting the process to the first painted
// main window, and the process's resident memory at that moment, with the demo calibration
// (the demo definition, two shift curves) opened from the command line. The program runs on the
// offscreen platform unless a display is set, with a settings file of its own; it reports
// "first-paint-ms=... rss-kib=..." and ends (KORVATH_STARTUP_PROBE).
//
// Counters: wall_ms (fork to the report, measured here), paint_ms (process start to paint, as the
// program sees it, 10 ms clock ticks), rss_MiB. Run with --benchmark_repetitions for medians.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "calibration/calibration_file.h"
#include "document/qrndoc.h"
#include "platform/host.h"
#include "platform/settings_store.h"

extern char** environ;

namespace {

const std::string kBinDir = KORVATH_BIN_DIR;

class QuietHost : public korvath::MessageHost, public korvath::StatusHost {
public:
    int ShowMessage(std::string_view, std::string_view, unsigned style) override {
        return korvath::DefaultMessageResult(style);
    }
    void SetStatusText(std::string_view) override {}
};

struct Workspace {
    std::string dir;
    std::string settings;
    std::string demo;
    bool ok = false;

    Workspace() {
        dir = (std::filesystem::temp_directory_path() / ("korvath-startup-" + std::to_string(::getpid()))).string();
        std::filesystem::create_directories(dir);
        settings = dir + "/korvath.INI";
        // A port has been chosen (one no machine has, so no real device is touched) and the
        // boxes are off: nothing stands between start and window.
        std::ofstream(settings) << "[Communication Settings]\nCOMPortNumber=250\n[AboutBox]\nShowAtStartup=0\n"
                                   "[StartBox]\nShowAtStartup=0\n";
        demo = dir + "/demo.qvr";
        QuietHost host;
        korvath::IniSettingsStore store(settings);
        korvath::CQRNDoc doc(korvath::DocumentHost{host, host, store}, kBinDir);
        ok = doc.LoadDefinitionFile(kBinDir + "/PID2/3/KV4.def");
        doc.ReadApplicationID();
        doc.ReadDeclarations(1);
        doc.calibration().application.DefinitionFileName = "KV4.def";
        ok = ok && korvath::SaveCalibrationFile(doc, demo);
    }
    ~Workspace() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

struct Run {
    double wallMs = 0;
    double paintMs = 0;
    double rssKib = 0;
    bool ok = false;
};

Run StartOnce(const Workspace& ws) {
    Run run;
    int out[2];
    if (::pipe(out) != 0) return run;
    std::vector<std::string> env;
    // The program writes its desktop launcher under HOME: keep it inside the workspace.
    for (char** e = environ; *e; ++e) {
        const std::string_view entry(*e);
        if (!entry.starts_with("HOME=") && !entry.starts_with("XDG_CONFIG_HOME=") &&
            !entry.starts_with("XDG_DESKTOP_DIR="))
            env.emplace_back(entry);
    }
    env.push_back("HOME=" + ws.dir);
    env.push_back("XDG_CONFIG_HOME=" + ws.dir + "/config");
    env.push_back("KORVATH_STARTUP_PROBE=1");
    env.push_back("KORVATH_SETTINGS=" + ws.settings);
    env.push_back("KORVATH_HOME=" + kBinDir);
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) env.push_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char*> envp;
    for (auto& s : env) envp.push_back(s.data());
    envp.push_back(nullptr);
    std::string program = kBinDir + "/korvath";
    std::string file = ws.demo;
    char* argv[] = {program.data(), file.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        return run;
    }
    std::string line;
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n') line += c;
    const auto reported = std::chrono::steady_clock::now();
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.wallMs = std::chrono::duration<double, std::milli>(reported - start).count();
    run.ok = std::sscanf(line.c_str(), "first-paint-ms=%lf rss-kib=%lf", &run.paintMs, &run.rssKib) == 2;
    return run;
}

void BM_StartupToFirstPaint(benchmark::State& state) {
    static Workspace ws;
    if (!ws.ok) {
        state.SkipWithError("cannot write the demo calibration");
        return;
    }
    double paint = 0, rss = 0;
    for (auto _ : state) {
        const Run run = StartOnce(ws);
        if (!run.ok) {
            state.SkipWithError("korvath did not report its first paint");
            return;
        }
        state.SetIterationTime(run.wallMs / 1000.0);
        paint += run.paintMs;
        rss += run.rssKib;
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["paint_ms"] = paint / n;
    state.counters["rss_MiB"] = rss / n / 1024.0;
}
BENCHMARK(BM_StartupToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(9);

}  // namespace

BENCHMARK_MAIN();
