#pragma once
// Where the program finds its files: the program directory, the settings file, the
// definition directories, and names that may have been written on Windows.

#include <string>
#include <string_view>

namespace korvath {

// The directory of the running executable, or KORVATH_HOME when it is set.
std::string ProgramDirectory();

// The executable's own path (from /proc/self/exe), empty when it cannot be read.
std::string ExecutablePath();

// The settings file for an executable path: KORVATH_SETTINGS when set; otherwise the path with
// its extension replaced by ".INI" when the file name has one; otherwise the per-user file
// ${XDG_CONFIG_HOME:-~/.config}/korvath/korvath.INI. Only a "." in the file name counts.
std::string SettingsPathForExecutable(std::string_view executablePath);

// The revision letter: the first character of "Package.ver" in the program directory, 0 when
// the file is missing or empty.
char ReadPackageRevision(const std::string& programDirectory);

// "<programDirectory>/PID<device>/<firmware>", both printed as unsigned 16-bit numbers.
std::string DefinitionDirectoryFor(const std::string& programDirectory, int deviceType, int firmwareVersion);

// Joins a directory and a relative name that may use either separator.
std::string JoinPath(std::string_view directory, std::string_view name);

// Finds an existing file for `path`: exactly as named first, then matching each name
// case-insensitively (data made on Windows ignores case). Backslashes count as separators.
// Returns the path to use, or the path as given (with '/' separators) when nothing exists.
std::string ResolveExistingPath(std::string_view path);

// Whether a directory exists at the path (names matched as ResolveExistingPath does).
bool IsDirectory(std::string_view path);

}  // namespace korvath
