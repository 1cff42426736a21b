#include "ui/dialogs/port_listing.h"

#include <QFileInfo>
#include <QSerialPortInfo>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>

#include "ui/dialogs/dialog_texts.h"

namespace korvath::ui {
namespace {

// The number of "<prefix><digits>", or -1.
int NumberAfter(const std::string& text, const std::string& prefix) {
    if (text.size() <= prefix.size() || text.compare(0, prefix.size(), prefix) != 0) return -1;
    const std::string digits = text.substr(prefix.size());
    if (digits.size() > 4 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    const int n = std::stoi(digits);
    // Only the spelling the link lookup uses ("COM7", not "COM07").
    if (std::to_string(n) != digits) return -1;
    return n;
}

std::string Describe(const QString& description, const std::string& device) {
    const std::string text = description.trimmed().toStdString();
    return text.empty() ? device : text + " (" + device + ")";
}

// An entry text of any length: a COM number and a description ("COM%d" ignores the latter).
std::string FormatEntry(const char* format, int port, const char* name) {
    const int length = std::snprintf(nullptr, 0, format, port, name);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, port, name);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

}  // namespace

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

bool ListPortsByProbing(std::vector<int>& numbers) {
    numbers.clear();
    return true;
}

bool ListPortsBySetupLibrary(std::vector<int>& numbers, std::vector<std::string>& names,
                             const PortListOptions& options) {
    numbers.clear();
    names.clear();
    if (options.portsDirectory.empty() && !options.systemPorts) return false;

    // The system's own descriptions, by device.
    std::map<std::string, QString> described;
    QList<QSerialPortInfo> system;
    if (options.systemPorts) {
        system = QSerialPortInfo::availablePorts();
        for (const QSerialPortInfo& info : system) described[info.systemLocation().toStdString()] = info.description();
    }

    // Linked ports come first: a link takes the place of the fixed rule for its number.
    std::map<int, std::string> linked;
    if (!options.portsDirectory.empty()) {
        namespace fs = std::filesystem;
        std::error_code ec;
        for (fs::directory_iterator it(options.portsDirectory, ec), end; !ec && it != end; it.increment(ec)) {
            const int n = NumberAfter(it->path().filename().string(), "COM");
            if (n < 1 || n > kHighestComPort) continue;
            std::error_code ec2;
            // A link whose device has gone (a simulator that ended) is no port.
            const fs::path device = fs::canonical(it->path(), ec2);
            if (ec2) continue;
            const auto found = described.find(device.string());
            linked[n] = Describe(found == described.end() ? QString() : found->second, device.string());
        }
    }
    for (const auto& [n, name] : linked) {
        numbers.push_back(n);
        names.push_back(name);
    }
    for (const QSerialPortInfo& info : system) {
        const std::string device = info.systemLocation().toStdString();
        const int n = ComNumberForDevice(device);
        if (n == 0 || linked.count(n)) continue;
        numbers.push_back(n);
        names.push_back(Describe(info.description(), device));
    }
    return true;
}

std::vector<PortEntry> BuildPortEntries(const std::vector<int>& probed, const std::vector<int>& numbers,
                                        const std::vector<std::string>& names) {
    std::vector<PortEntry> entries;
    entries.push_back({dialog_texts::kNoneEntry, 0});
    for (int n = 0; n <= kHighestComPort; ++n) {
        const auto listed = std::find(numbers.begin(), numbers.end(), n);
        if (listed != numbers.end()) {
            const auto index = static_cast<std::size_t>(listed - numbers.begin());
            const std::string name = index < names.size() ? names[index] : std::string();
            entries.push_back({FormatEntry(dialog_texts::kPortEntryFormat, n, name.c_str()), n});
        } else if (std::find(probed.begin(), probed.end(), n) != probed.end()) {
            entries.push_back({FormatEntry(dialog_texts::kProbedPortFormat, n, ""), n});
        }
    }
    return entries;
}

}  // namespace korvath::ui
