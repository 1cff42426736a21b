#pragma once
// Paths that a definition file gives relative to the program directory ("Execute" programs,
// help topics): they must name something inside that directory and nothing outside it.

#include <optional>
#include <string>
#include <string_view>

namespace korvath {

// The file that `relative` names inside `programDirectory`, found as ResolveExistingPath
// finds names written on Windows (either separator, case ignored when the exact name is
// missing). None when the path is absolute (a leading separator or a drive letter), has a
// ".." component, or leads out of the directory through a symbolic link. The file need not
// exist: a missing file inside the directory is answered with its joined path.
std::optional<std::string> ResolveProgramRelativePath(std::string_view programDirectory, std::string_view relative);

}  // namespace korvath
