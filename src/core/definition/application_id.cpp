#include "definition/application_id.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "definition/definition_keys.h"

namespace korvath {
namespace {

constexpr std::size_t kMaxLineLength = 299;

// A line that starts with `key` names it, even with nothing after it. When a word follows,
// the value is the rest of the line from the second character after the key.
bool MatchKeyLine(std::string_view line, std::string_view key, std::string& value) {
    if (line.substr(0, key.size()) != key) return false;
    std::string_view rest = line.substr(key.size());
    if (rest.find_first_not_of(" \t\v\f") != std::string_view::npos)
        value = std::string(rest.substr(1));
    return true;
}

}  // namespace

bool ReadApplicationIdentity(const std::string& path, ApplicationIdentity& identity) {
    identity = {};
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file) return false;
    char buffer[kMaxLineLength + 1];
    bool inSection = false;
    bool haveType = false, haveDescription = false, haveName = false;
    while (!(haveType && haveDescription && haveName) && std::fgets(buffer, sizeof buffer, file)) {
        std::string_view line(buffer, std::strlen(buffer));
        if (auto comment = line.find("//"); comment != std::string_view::npos) line = line.substr(0, comment);
        if (auto feed = line.find('\n'); feed != std::string_view::npos) line = line.substr(0, feed);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // written on Windows
        if (!inSection) {
            inSection = line.find("[ApplicationID]") != std::string_view::npos;
            continue;
        }
        if (!haveType && MatchKeyLine(line, "TransmissionType", identity.transmissionType))
            haveType = true;
        else if (!haveDescription && MatchKeyLine(line, "Description", identity.description))
            haveDescription = true;
        else if (!haveName && MatchKeyLine(line, definition_keys::kLogicalName, identity.logicalName))
            haveName = true;
    }
    std::fclose(file);
    return haveType && haveDescription && haveName;
}

}  // namespace korvath
