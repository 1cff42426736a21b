#pragma once
// The controller link for korvath-cli subcommands: the --port N / --device PATH options, the
// transport they choose, and a stand-in for the document on the monitor's other side.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cli_host.h"
#include "comm/monitor_client.h"
#include "comm/serialport.h"
#include "comm/vuz_monitor.h"
#include "platform/settings_store.h"

namespace korvath::cli {

inline constexpr char kLinkOptionsUsage[] = "[--port N | --device PATH]";

struct LinkOptions {
    int port = 0;        // --port N: this COM number instead of the stored one
    std::string device;  // --device PATH: this tty, bypassing the COM number and USB
};

// Takes --port and --device out of args. False (with why) on a bad or doubled option.
bool TakeLinkOptions(std::vector<std::string>& args, LinkOptions& link, std::string& why);

// The byte transport the options choose: USB first, then the COM port, unless a device is named.
std::unique_ptr<CSerialPort> MakeTransport(const LinkOptions& link, SettingsStore& settings);

// The controller as the calibration last knew it, from the settings' hardware profile
// (product 2, hardware 2, firmware 3.3 when nothing was identified yet).
struct ControllerVersions {
    std::uint16_t productId = 2;
    std::uint16_t hardwareVersion = 2;
    std::uint16_t firmwareMajor = 3;
    std::uint16_t firmwareMinor = 3;
};
ControllerVersions VersionsFromSettings(SettingsStore& settings);

// The monitor's document side on the terminal: messages and status texts through the
// TerminalHost, identification as a plain version query.
class CliMonitorClient final : public MonitorClient {
public:
    CliMonitorClient(TerminalHost& terminal, ControllerVersions versions)
        : terminal_(terminal), versions_(versions) {}
    void Attach(CTCS_Monitor* monitor) { monitor_ = monitor; }

    int ShowMessage(std::string_view text, std::string_view caption, unsigned style) override;
    void ShowConnectionStatus(int connected) override;
    bool IdentifyController(int declarationsMode, int notify) override;

    const ControllerVersions& versions() const { return versions_; }
    std::int32_t last_flags() const { return lastFlags_; }

private:
    TerminalHost& terminal_;
    CTCS_Monitor* monitor_ = nullptr;
    ControllerVersions versions_;
    std::int32_t lastFlags_ = 0;
};

// Parses a C integer (decimal, 0x hexadecimal, leading-zero octal) that fills the whole text.
bool ParseCInteger(const std::string& text, long& value);

}  // namespace korvath::cli
