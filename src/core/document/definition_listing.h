#pragma once
// The definition files of a definition directory, as the transmission-type page offers them,
// and where a named definition file is found.

#include <cstddef>
#include <string>
#include <vector>

namespace korvath {

class SettingsStore;

// One entry of the transmission-type list; each text is cut to the width the page keeps.
struct DefinitionChoice {
    static constexpr std::size_t kFileNameLength = 400;
    static constexpr std::size_t kLogicalNameLength = 50;
    static constexpr std::size_t kTransmissionTypeLength = 60;
    static constexpr std::size_t kDescriptionLength = 300;

    std::string fileName;  // without directory
    std::string logicalName;
    std::string transmissionType;
    std::string description;
};

// The page keeps at most this many entries.
inline constexpr std::size_t kMaxDefinitionChoices = 50;

// Every "*.def" file of `directory` (the extension in any letter case; folders skipped) whose
// identity names a transmission type, in file-name order ignoring letter case, at most
// kMaxDefinitionChoices of them.
std::vector<DefinitionChoice> ListDefinitionFiles(const std::string& directory);

// The definition directory of the controller remembered in the settings ("HardwareProfile",
// with the defaults of a new calibration).
std::string ProfileDefinitionDirectory(const std::string& programDirectory, SettingsStore& settings);

// The existing regular file for definition `name` in `directory` (exact name first, then
// ignoring letter case), or empty when there is none. An empty name finds nothing.
std::string FindDefinitionFile(const std::string& directory, const std::string& name);

}  // namespace korvath
