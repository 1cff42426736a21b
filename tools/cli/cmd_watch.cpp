// korvath-cli watch [--ticks N] [FILE] [--port N | --device PATH]

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli_command.h"
#include "cli_host.h"
#include "cli_link.h"
#include "document/calibration_file.h"
#include "document/qrndoc.h"
#include "platform/paths.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{
    "watch", "[--ticks N] [FILE] [--port N | --device PATH]",
    "poll the live data items of FILE's definition (a calibration or a definition file; default: a new "
    "calibration) for N timer ticks (default 20) and print one JSON line per value",
    &Run};
const CommandRegistration kRegistration{kCommand};

constexpr long kDefaultTicks = 20;
constexpr long kMaxTicks = 1000000;

// The poll timer, driven by the command: each Fire waits one period and runs the tick.
class SteppedTimer final : public TimerHost {
public:
    void StartTimer(unsigned periodMs, std::function<void()> tick) override {
        period_ = periodMs;
        tick_ = std::move(tick);
        running_ = true;
    }
    void StopTimer() override { running_ = false; }
    void Fire() {
        std::this_thread::sleep_for(std::chrono::milliseconds(period_));
        auto tick = tick_;
        if (running_ && tick) tick();
    }

private:
    unsigned period_ = 1000;
    std::function<void()> tick_;
    bool running_ = false;
};

// A calibration file starts with its format's header; anything else is taken as a definition.
bool IsCalibrationFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(kLegacyHeader.size(), '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return head.starts_with(kCalibrationHeader) || head.starts_with(kLegacyHeader);
}

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    LinkOptions link;
    std::string why;
    if (!TakeLinkOptions(rest, link, why)) return UsageError(kCommand, why);
    long ticks = kDefaultTicks;
    std::string file;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == "--ticks") {
            if (i + 1 >= rest.size() || !ParseCInteger(rest[i + 1], ticks) || ticks < 0 || ticks > kMaxTicks)
                return UsageError(kCommand, "--ticks takes a count from 0 to 1000000");
            ++i;
        } else if (rest[i].starts_with("--") || !file.empty()) {
            return UsageError(kCommand, "unexpected argument " + rest[i]);
        } else {
            file = rest[i];
        }
    }

    TerminalHost terminal(options.verbose);
    auto settings = OpenSettings();
    SteppedTimer timer;
    CQRNDoc doc(DocumentHost{terminal, terminal, *settings, &timer}, ProgramDirectory(),
                MakeTransport(link, *settings));
    // Every tick would wait for a device that is not there: say which one at once.
    if (ReportOpenFailure(doc.monitor(), options.command)) return kFailure;
    if (!file.empty()) {
        if (IsCalibrationFile(file)) {
            if (!OpenCalibrationFile(doc, file)) return kFailure;
        } else {
            if (!doc.LoadDefinitionFile(file) || !doc.ReadApplicationID() || !doc.ReadDeclarations(1)) {
                std::fprintf(stderr, "korvath-cli watch: %s is neither a calibration nor a usable definition\n",
                             file.c_str());
                return kFailure;
            }
            // A new calibration on this definition: a changed controller re-targets it at the file
            // of the same name in its own directory, as when a calibration is opened.
            doc.calibration().application.DefinitionFileName = std::filesystem::path(file).filename().string();
            doc.IdentifyController(0, 1);
        }
    }

    bool anyValue = false;
    const std::int32_t handle = doc.LoadDataItems([&](std::int32_t index, const char* text, const float* value) {
        nlohmann::ordered_json line{{"index", index}, {"text", nullptr}, {"value", nullptr}};
        if (text) line["text"] = text;
        if (value) line["value"] = *value;
        anyValue |= index >= 0;
        std::printf("%s\n", line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
        std::fflush(stdout);
    });
    if (handle == 0) {
        std::fprintf(stderr, "korvath-cli watch: the definition has no [DataItems] section\n");
        return kFailure;
    }
    // A tick that finds the link down tries to regain it; when that fails too, the link is lost.
    bool everConnected = false;
    bool lost = false;
    for (long i = 0; i < ticks && !lost; ++i) {
        const bool before = doc.monitor()->is_connected() != 0;
        timer.Fire();
        const bool after = doc.monitor()->is_connected() != 0;
        everConnected |= after;
        lost = everConnected && !before && !after;
    }
    doc.UnloadDataItems(handle);
    if (lost) {
        std::fprintf(stderr, "korvath-cli watch: the link to the controller was lost\n");
        return kFailure;
    }
    if (ticks > 0 && !anyValue) {
        std::fprintf(stderr, "korvath-cli watch: no value was read from the controller\n");
        return kFailure;
    }
    return kSuccess;
}

}  // namespace
}  // namespace korvath::cli
