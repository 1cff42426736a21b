#pragma once
// The definition files of a definition directory, as the transmission-type page offers them,
// and where a named definition file is found. A controller's definitions are looked up in the
// user's folder of the same shape (UserDataDirectory()/PID<n>/<fw>) first, then in the program
// directory's: a workshop adds or replaces a definition without root, and its file wins.

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
    std::string directory;  // the folder the file is in
};

// The page keeps at most this many entries.
inline constexpr std::size_t kMaxDefinitionChoices = 50;

// Every "*.def" file of `directory` (the extension in any letter case; folders skipped) whose
// identity names a transmission type, in file-name order ignoring letter case, at most
// kMaxDefinitionChoices of them.
std::vector<DefinitionChoice> ListDefinitionFiles(const std::string& directory);
// The same over several folders: a file of an earlier folder hides one of the same name
// (ignoring letter case) in a later folder.
std::vector<DefinitionChoice> ListDefinitionFiles(const std::vector<std::string>& directories);

// The folders searched for the definitions of `definitionDirectory` (".../PID<n>/<fw>"): the
// user's folder for PID<n>/<fw>, then the directory itself. Another directory is searched alone.
std::vector<std::string> DefinitionSearchDirectories(const std::string& definitionDirectory);

// Whether any search folder of `definitionDirectory` exists (a controller known only to the
// user's folder counts).
bool HasDefinitionFolder(const std::string& definitionDirectory);

// The definition directory of the controller remembered in the settings ("HardwareProfile",
// with the defaults of a new calibration).
std::string ProfileDefinitionDirectory(const std::string& programDirectory, SettingsStore& settings);

// The existing regular file for definition `name` in the search folders of `directory` (in each,
// the exact name first, then ignoring letter case), or empty when there is none. An empty name
// finds nothing.
std::string FindDefinitionFile(const std::string& directory, const std::string& name);

// The path to read definition data `name` from: FindDefinitionFile's answer, or the program's
// path when no folder has it (the messages about the missing file name that one).
std::string DefinitionFilePath(const std::string& directory, const std::string& name);

}  // namespace korvath
