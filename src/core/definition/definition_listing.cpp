#include "definition/definition_listing.h"

#include <algorithm>
#include <filesystem>
#include <strings.h>

#include "definition/application_id.h"
#include "platform/settings_keys.h"
#include "platform/paths.h"
#include "platform/settings_store.h"
#include "platform/user_folders.h"

namespace fs = std::filesystem;

namespace korvath {
namespace {

constexpr const char* kDefinitionExtension = ".def";

std::string Cut(const std::string& text, std::size_t length) { return text.substr(0, std::min(length, text.size())); }

bool HasDefinitionExtension(const std::string& name) {
    const std::size_t n = std::char_traits<char>::length(kDefinitionExtension);
    return name.size() > n && strcasecmp(name.c_str() + name.size() - n, kDefinitionExtension) == 0;
}

bool IsNumber(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "PID" and the device number, as DefinitionDirectoryFor names the folder.
bool IsPidFolder(const std::string& name) { return name.starts_with("PID") && IsNumber(name.substr(3)); }

}  // namespace

std::vector<DefinitionChoice> ListDefinitionFiles(const std::string& directory) {
    return ListDefinitionFiles(std::vector<std::string>{directory});
}

std::vector<DefinitionChoice> ListDefinitionFiles(const std::vector<std::string>& directories) {
    struct Found {
        std::string directory;
        std::string name;
    };
    std::vector<Found> files;
    for (const std::string& directory : directories) {
        const std::size_t earlier = files.size();
        std::error_code ec;
        for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code typeError;
            if (!it->is_regular_file(typeError)) continue;
            std::string name = it->path().filename().string();
            if (!HasDefinitionExtension(name)) continue;
            const bool hidden = std::any_of(files.begin(), files.begin() + static_cast<std::ptrdiff_t>(earlier),
                                            [&](const Found& f) { return strcasecmp(f.name.c_str(), name.c_str()) == 0; });
            if (!hidden) files.push_back({directory, std::move(name)});
        }
    }
    std::sort(files.begin(), files.end(), [](const Found& a, const Found& b) {
        const int c = strcasecmp(a.name.c_str(), b.name.c_str());
        return c != 0 ? c < 0 : a.name < b.name;
    });

    std::vector<DefinitionChoice> choices;
    for (const auto& file : files) {
        if (choices.size() >= kMaxDefinitionChoices) break;
        ApplicationIdentity id;
        ReadApplicationIdentity(JoinPath(file.directory, file.name), id);
        if (id.transmissionType.empty()) continue;
        choices.push_back({Cut(file.name, DefinitionChoice::kFileNameLength),
                           Cut(id.logicalName, DefinitionChoice::kLogicalNameLength),
                           Cut(id.transmissionType, DefinitionChoice::kTransmissionTypeLength),
                           Cut(id.description, DefinitionChoice::kDescriptionLength), file.directory});
    }
    return choices;
}

std::vector<std::string> DefinitionSearchDirectories(const std::string& definitionDirectory) {
    const fs::path directory(definitionDirectory);
    const std::string firmware = directory.filename().string();
    const std::string device = directory.parent_path().filename().string();
    if (!IsPidFolder(device) || !IsNumber(firmware)) return {definitionDirectory};
    std::string user = JoinPath(UserDataDirectory(), device + "/" + firmware);
    std::error_code ec;
    if (user == definitionDirectory || fs::equivalent(user, definitionDirectory, ec)) return {definitionDirectory};
    return {std::move(user), definitionDirectory};
}

bool HasDefinitionFolder(const std::string& definitionDirectory) {
    const auto folders = DefinitionSearchDirectories(definitionDirectory);
    return std::any_of(folders.begin(), folders.end(), [](const std::string& f) { return IsDirectory(f); });
}

std::string ProfileDefinitionDirectory(const std::string& programDirectory, SettingsStore& settings) {
    using namespace settings;
    return DefinitionDirectoryFor(programDirectory, settings.GetInt(kHardwareProfile, kDeviceType, kNewDeviceType),
                                  settings.GetInt(kHardwareProfile, kFirmwareVersion, kNewFirmwareVersion));
}

std::string FindDefinitionFile(const std::string& directory, const std::string& name) {
    if (name.empty()) return {};
    for (const std::string& folder : DefinitionSearchDirectories(directory)) {
        std::string path = ResolveExistingPath(JoinPath(folder, name));
        std::error_code ec;
        if (fs::is_regular_file(path, ec)) return path;
    }
    return {};
}

std::string DefinitionFilePath(const std::string& directory, const std::string& name) {
    std::string found = FindDefinitionFile(directory, name);
    return found.empty() ? ResolveExistingPath(JoinPath(directory, name)) : found;
}

}  // namespace korvath
