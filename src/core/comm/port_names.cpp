#include "comm/port_names.h"

#include <filesystem>

namespace korvath {

std::string PortsDirectoryFor(const std::string& settingsPath) {
    auto slash = settingsPath.rfind('/');
    if (slash == std::string::npos) return "ports";
    return settingsPath.substr(0, slash + 1) + "ports";
}

std::string ComPortDevice(int port, const std::string& portsDirectory) {
    if (port <= 0) return {};
    if (!portsDirectory.empty()) {
        std::string link = portsDirectory + "/COM" + std::to_string(port);
        std::error_code ec;
        if (std::filesystem::is_symlink(link, ec) || std::filesystem::exists(link, ec)) return link;
    }
    if (port <= 32) return "/dev/ttyS" + std::to_string(port - 1);
    if (port <= 64) return "/dev/ttyUSB" + std::to_string(port - 33);
    if (port <= 96) return "/dev/ttyACM" + std::to_string(port - 65);
    return {};
}

}  // namespace korvath
