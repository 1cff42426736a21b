#include "ui/dialogs/port_listing.h"

#include <algorithm>
#include <cstdio>

#include "ui/dialogs/dialog_texts.h"

namespace korvath::ui {
namespace {

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

bool ListPortsByProbing(std::vector<int>& numbers) {
    numbers.clear();
    return true;
}

bool ListPortsBySetupLibrary(std::vector<int>& numbers, std::vector<std::string>& names,
                             const PortListOptions& options) {
    numbers.clear();
    names.clear();
    if (options.portsDirectory.empty() && !options.systemPorts) return false;
    std::vector<int> taken;
    for (const ComPort& port : ListComPorts(options.sources())) {
        // A link takes the place of the fixed rule for its number; a link whose device has gone
        // (a simulator that ended) is no port.
        if (!port.exists || std::find(taken.begin(), taken.end(), port.number) != taken.end()) continue;
        taken.push_back(port.number);
        numbers.push_back(port.number);
        names.push_back(PortDescription(port));
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
