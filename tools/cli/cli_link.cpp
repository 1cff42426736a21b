#include "cli_link.h"

#include <cerrno>
#include <cstdlib>

#include "platform/printf_format.h"
#include "platform/paths.h"

namespace korvath::cli {
namespace {

constexpr char kProfileSection[] = "HardwareProfile";
// Without a definition the controller has no product name of its own.
constexpr char kProductName[] = "Controller";
constexpr char kConnectedStatusFormat[] = "%.35s connected: Product Version %d.%d, Firmware Revision %d.%d";
constexpr char kDisconnectedStatus[] = "Controller Disconnected";

}  // namespace

bool ParseCInteger(const std::string& text, long& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 0);
    return errno == 0 && end && *end == '\0' && end != text.c_str();
}

bool TakeLinkOptions(std::vector<std::string>& args, LinkOptions& link, std::string& why) {
    std::vector<std::string> rest;
    bool portGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--port" || a == "--device") {
            if (i + 1 >= args.size()) {
                why = a + " needs a value";
                return false;
            }
            const std::string& v = args[++i];
            if (a == "--port") {
                long n = 0;
                if (!ParseCInteger(v, n) || n < 1 || n > 255) {
                    why = "--port takes a COM number from 1 to 255";
                    return false;
                }
                link.port = static_cast<int>(n);
                portGiven = true;
            } else {
                link.device = v;
            }
        } else {
            rest.push_back(a);
        }
    }
    if (portGiven && !link.device.empty()) {
        why = "--port and --device exclude each other";
        return false;
    }
    args = std::move(rest);
    return true;
}

std::unique_ptr<CSerialPort> MakeTransport(const LinkOptions& link, SettingsStore& settings) {
    return MakeControllerTransport(settings, SettingsPathForExecutable(ExecutablePath()), link.port, link.device);
}

ControllerVersions VersionsFromSettings(SettingsStore& settings) {
    ControllerVersions v;
    v.productId = static_cast<std::uint16_t>(settings.GetInt(kProfileSection, "DeviceType", 2));
    v.firmwareMajor = static_cast<std::uint16_t>(settings.GetInt(kProfileSection, "FirmwareVersion", 3));
    v.firmwareMinor = static_cast<std::uint16_t>(settings.GetInt(kProfileSection, "FirmwareVersionMinor", 3));
    v.hardwareVersion = static_cast<std::uint16_t>(settings.GetInt(kProfileSection, "HardwareVersion", 2));
    return v;
}

int CliMonitorClient::ShowMessage(std::string_view text, std::string_view caption, unsigned style) {
    return terminal_.ShowMessage(text, caption, style);
}

void CliMonitorClient::ShowConnectionStatus(int connected) {
    if (!connected) {
        terminal_.SetStatusText(kDisconnectedStatus);
        return;
    }
    terminal_.SetStatusText(FormatText(kConnectedStatusFormat, kProductName, versions_.productId,
                                         versions_.hardwareVersion, versions_.firmwareMajor, versions_.firmwareMinor));
}

bool CliMonitorClient::IdentifyController(int, int) {
    if (!monitor_) return false;
    lastFlags_ = monitor_->query_versions(&versions_.productId, &versions_.hardwareVersion, &versions_.firmwareMajor,
                                          &versions_.firmwareMinor);
    if (lastFlags_ == 0) return false;
    monitor_->set_connected(1);
    return true;
}

}  // namespace korvath::cli
