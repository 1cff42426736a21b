#include "comm/port_names.h"

#include <algorithm>
#include <filesystem>

namespace korvath {
namespace {

// The number of "<prefix><digits>", or -1. Only the spelling the link lookup uses ("COM7",
// not "COM07").
int NumberAfter(const std::string& text, const std::string& prefix) {
    if (text.size() <= prefix.size() || text.compare(0, prefix.size(), prefix) != 0) return -1;
    const std::string digits = text.substr(prefix.size());
    if (digits.size() > 4 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    const int n = std::stoi(digits);
    if (std::to_string(n) != digits) return -1;
    return n;
}

}  // namespace

int ComLinkNumber(const std::string& fileName) { return NumberAfter(fileName, "COM"); }

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

int ComNumberForDevice(const std::string& devicePath) {
    struct Range {
        const char* prefix;
        int first;
    };
    static const Range ranges[] = {{"/dev/ttyS", 1}, {"/dev/ttyUSB", 33}, {"/dev/ttyACM", 65}};
    for (const Range& range : ranges) {
        const int k = NumberAfter(devicePath, range.prefix);
        if (k >= 0 && k < 32) return range.first + k;
    }
    return 0;
}

}  // namespace korvath
