#include "document/definition_listing.h"

#include <algorithm>
#include <filesystem>
#include <strings.h>

#include "document/application_id.h"
#include "document/settings_keys.h"
#include "platform/paths.h"
#include "platform/settings_store.h"

namespace fs = std::filesystem;

namespace korvath {
namespace {

constexpr const char* kDefinitionExtension = ".def";

std::string Cut(const std::string& text, std::size_t length) { return text.substr(0, std::min(length, text.size())); }

bool HasDefinitionExtension(const std::string& name) {
    const std::size_t n = std::char_traits<char>::length(kDefinitionExtension);
    return name.size() > n && strcasecmp(name.c_str() + name.size() - n, kDefinitionExtension) == 0;
}

}  // namespace

std::vector<DefinitionChoice> ListDefinitionFiles(const std::string& directory) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        std::string name = it->path().filename().string();
        if (HasDefinitionExtension(name)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const int c = strcasecmp(a.c_str(), b.c_str());
        return c != 0 ? c < 0 : a < b;
    });

    std::vector<DefinitionChoice> choices;
    for (const auto& name : names) {
        if (choices.size() >= kMaxDefinitionChoices) break;
        ApplicationIdentity id;
        ReadApplicationIdentity(JoinPath(directory, name), id);
        if (id.transmissionType.empty()) continue;
        choices.push_back({Cut(name, DefinitionChoice::kFileNameLength),
                           Cut(id.logicalName, DefinitionChoice::kLogicalNameLength),
                           Cut(id.transmissionType, DefinitionChoice::kTransmissionTypeLength),
                           Cut(id.description, DefinitionChoice::kDescriptionLength)});
    }
    return choices;
}

std::string ProfileDefinitionDirectory(const std::string& programDirectory, SettingsStore& settings) {
    using namespace settings;
    return DefinitionDirectoryFor(programDirectory, settings.GetInt(kHardwareProfile, kDeviceType, kNewDeviceType),
                                  settings.GetInt(kHardwareProfile, kFirmwareVersion, kNewFirmwareVersion));
}

std::string FindDefinitionFile(const std::string& directory, const std::string& name) {
    if (name.empty()) return {};
    std::string path = ResolveExistingPath(JoinPath(directory, name));
    std::error_code ec;
    return fs::is_regular_file(path, ec) ? path : std::string();
}

}  // namespace korvath
