#pragma once
// The terminal as the core's host: message boxes become text on standard error
// ("[<caption>] <text>", see MessageLine) and answer with the style's default button; status
// texts are printed only with --verbose, notices always.

#include <memory>
#include <string>
#include <string_view>

#include "cli_command.h"
#include "platform/host.h"
#include "platform/settings_store.h"

namespace korvath::cli {

class TerminalHost : public MessageHost, public StatusHost {
public:
    explicit TerminalHost(bool verbose) : verbose_(verbose) {}
    int ShowMessage(std::string_view text, std::string_view caption, unsigned style) override;
    void SetStatusText(std::string_view text) override;
    // Printed always, as a line of its own on standard error.
    void ShowNotice(std::string_view text) override;

private:
    bool verbose_;
};

// The text a message box becomes: "[<caption>] <text>". On a terminal the message keeps the line
// breaks the window shows, its further lines indented by two spaces (a message is a line starting
// with "[" and the indented or empty lines after it); otherwise it is one line, every line feed
// written as "\n".
std::string MessageLine(std::string_view text, std::string_view caption, bool onTerminal);
// Whether standard error is a terminal.
bool ErrorsGoToTerminal();

// The settings file the programs share (KORVATH_SETTINGS, set by --settings, wins).
std::unique_ptr<SettingsStore> OpenSettings();

}  // namespace korvath::cli
