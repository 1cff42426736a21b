#include "cli_live_session.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "calibration/calibration_file.h"
#include "platform/paths.h"

namespace korvath::cli {
namespace {

// A calibration file starts with its format's header; anything else is taken as a definition.
bool IsCalibrationFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(kLegacyHeader.size(), '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return head.starts_with(kCalibrationHeader) || head.starts_with(kLegacyHeader);
}

}  // namespace

void SteppedTimer::StartTimer(unsigned periodMs, std::function<void()> tick) {
    period_ = periodMs;
    tick_ = std::move(tick);
    running_ = true;
}

void SteppedTimer::Fire() {
    std::this_thread::sleep_for(std::chrono::milliseconds(period_));
    auto tick = tick_;
    if (running_ && tick) tick();
}

LiveSession::LiveSession(const GlobalOptions& options, const LinkOptions& link)
    : terminal(options.verbose), settings(OpenSettings()) {
    doc = std::make_unique<CQRNDoc>(DocumentHost{terminal, terminal, *settings, &timer}, ProgramDirectory(),
                                    MakeTransport(link, *settings));
}

bool StartLiveSession(LiveSession& session, const std::string& file, const std::string& command) {
    CQRNDoc& doc = *session.doc;
    // Every tick would wait for a device that is not there: say which one at once.
    if (ReportOpenFailure(doc.monitor(), command)) return false;
    if (IsCalibrationFile(file)) return OpenCalibrationFile(doc, file);
    if (!doc.LoadDefinitionFile(file) || !doc.ReadApplicationID() || !doc.ReadDeclarations(1)) {
        std::fprintf(stderr, "korvath-cli %s: %s is neither a calibration nor a usable definition\n", command.c_str(),
                     file.c_str());
        return false;
    }
    // A new calibration on this definition: a changed controller re-targets it at the file of
    // the same name in its own directory, as when a calibration is opened.
    doc.calibration().application.DefinitionFileName = std::filesystem::path(file).filename().string();
    doc.IdentifyController(0, 1);
    return true;
}

std::string NoDataItemsText(const std::string& file) {
    return "the definition of " + file +
           " has no live data items (no [DataItems] section); pass a calibration or a definition file that has "
           "them, such as PID2/3/KV4.def";
}

bool TickLostLink(LiveSession& session, bool& everConnected) {
    const bool before = session.doc->monitor()->is_connected() != 0;
    session.timer.Fire();
    const bool after = session.doc->monitor()->is_connected() != 0;
    everConnected |= after;
    return everConnected && !before && !after;
}

}  // namespace korvath::cli
