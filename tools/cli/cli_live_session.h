#pragma once
// What `watch` and `log` share: the poll timer the command drives itself, and a document on the
// definition of a calibration or definition file, linked to the controller.

#include <functional>
#include <memory>
#include <string>

#include "cli_command.h"
#include "cli_host.h"
#include "cli_link.h"
#include "document/qrndoc.h"
#include "platform/host.h"

namespace korvath::cli {

// The poll timer, driven by the command: each Fire waits one period and runs the tick.
class SteppedTimer final : public TimerHost {
public:
    void StartTimer(unsigned periodMs, std::function<void()> tick) override;
    void StopTimer() override { running_ = false; }
    void Fire();
    unsigned period() const { return period_; }

private:
    unsigned period_ = 1000;
    std::function<void()> tick_;
    bool running_ = false;
};

// A document linked as the options say, its settings and its timer.
struct LiveSession {
    explicit LiveSession(const GlobalOptions& options, const LinkOptions& link);
    TerminalHost terminal;
    std::unique_ptr<SettingsStore> settings;
    SteppedTimer timer;
    std::unique_ptr<CQRNDoc> doc;
};

// Opens the link (false after saying why it did not open) and the file's definition: a
// calibration, or a definition file taken as a new calibration on it.
bool StartLiveSession(LiveSession& session, const std::string& file, const std::string& command);

// What `watch` and `log` poll, for their usage texts: a new calibration's definition has no items.
inline constexpr char kLiveFileHelp[] =
    "FILE: a calibration, or a definition file with live data items such as PID2/3/KV4.def";
// Why FILE gives nothing to poll, and what to pass instead.
std::string NoDataItemsText(const std::string& file);

// Ticks the timer once; true when the link is lost for good (it answered before, and this tick
// found it down and could not regain it).
bool TickLostLink(LiveSession& session, bool& everConnected);

}  // namespace korvath::cli
