// korvath-cli log OUT.csv FILE [--duration SECONDS] [--ticks N] [--port N | --device PATH]

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_live_session.h"
#include "datalog/data_log_recorder.h"
#include "datalog/log_naming.h"
#include "datalog/replay_clock.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{
    "log", "OUT.csv FILE [--duration SECONDS] [--ticks N] [--port N | --device PATH]",
    "record the live data items of FILE's definition (as watch reads them) into the data log OUT.csv, one row "
    "per round over the items, until SECONDS have passed, N timer ticks ran, or Ctrl-C; a lost link is a row "
    "of its own and recording goes on",
    &Run};
const CommandRegistration kRegistration{kCommand};

constexpr long kMaxTicks = 100000000;
constexpr long kMaxSeconds = 31L * 24 * 3600;
constexpr std::int64_t kProgressPeriodMs = 250;

volatile sig_atomic_t gStop = 0;
void OnStopSignal(int) { gStop = 1; }

// Ctrl-C and a plain kill end the recording between two ticks, so the file is closed whole.
class StopSignals {
public:
    StopSignals() {
        struct sigaction action{};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &oldInt_);
        sigaction(SIGTERM, &action, &oldTerm_);
    }
    ~StopSignals() {
        sigaction(SIGINT, &oldInt_, nullptr);
        sigaction(SIGTERM, &oldTerm_, nullptr);
    }

private:
    struct sigaction oldInt_{}, oldTerm_{};
};

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    LinkOptions link;
    std::string why;
    if (!TakeLinkOptions(rest, link, why)) return UsageError(kCommand, why);
    long ticks = -1, seconds = -1;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == "--ticks") {
            if (i + 1 >= rest.size() || !ParseCInteger(rest[i + 1], ticks) || ticks < 0 || ticks > kMaxTicks)
                return UsageError(kCommand, "--ticks takes a count from 0 to 100000000");
            ++i;
        } else if (rest[i] == "--duration") {
            if (i + 1 >= rest.size() || !ParseCInteger(rest[i + 1], seconds) || seconds < 0 || seconds > kMaxSeconds)
                return UsageError(kCommand, "--duration takes seconds from 0 to 2678400");
            ++i;
        } else if (rest[i].starts_with("--") || files.size() >= 2) {
            return UsageError(kCommand, "unexpected argument " + rest[i]);
        } else {
            files.push_back(rest[i]);
        }
    }
    if (files.empty()) return UsageError(kCommand, "the data log OUT.csv is missing");
    const std::string out = files[0];
    if (files.size() < 2) return UsageError(kCommand, std::string("no file given; ") + kLiveFileHelp);
    const std::string file = files[1];

    LiveSession session(options, link);
    if (!StartLiveSession(session, file, options.command)) return kFailure;
    CQRNDoc& doc = *session.doc;
    // The poller polls only while a receiver is registered; the recorder watches it.
    const std::int32_t handle = doc.LoadDataItems([](std::int32_t, const char*, const float*) {});
    if (handle == 0) {
        std::fprintf(stderr, "korvath-cli log: %s\n", NoDataItemsText(file).c_str());
        return kFailure;
    }
    datalog::DataLogRecorder recorder;
    if (!recorder.Start(*doc.monitor(), out, datalog::DefinitionOfDocument(doc), why)) {
        std::fprintf(stderr, "korvath-cli log: cannot write %s: %s\n", out.c_str(), why.c_str());
        doc.UnloadDataItems(handle);
        return kFailure;
    }

    StopSignals signals;
    gStop = 0;
    const bool progress = isatty(STDERR_FILENO) == 1;
    std::int64_t lastProgress = -kProgressPeriodMs;
    bool everConnected = false;
    for (long tick = 0; !gStop && recorder.running(); ++tick) {
        if (ticks >= 0 && tick >= ticks) break;
        if (seconds >= 0 && recorder.elapsedMs() >= seconds * 1000) break;
        TickLostLink(session, everConnected);
        recorder.Tick();
        if (progress && recorder.elapsedMs() - lastProgress >= kProgressPeriodMs) {
            lastProgress = recorder.elapsedMs();
            std::fprintf(stderr, "\r%s  %s  link %s   ", datalog::ElapsedText(recorder.elapsedMs()).c_str(),
                         datalog::RowsText(recorder.rows()).c_str(), recorder.linkUp() ? "up" : "lost");
            std::fflush(stderr);
        }
    }
    if (progress) std::fprintf(stderr, "\n");
    const bool written = recorder.Stop();
    doc.UnloadDataItems(handle);
    if (!written) {
        std::fprintf(stderr, "korvath-cli log: %s is incomplete: %s\n", out.c_str(), recorder.error().c_str());
        return kFailure;
    }
    if (!everConnected) {
        std::fprintf(stderr, "korvath-cli log: no value was read from the controller\n");
        return kFailure;
    }
    return kSuccess;
}

}  // namespace
}  // namespace korvath::cli
