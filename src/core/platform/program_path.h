#pragma once
// Programs and help topics that a definition file names ("Execute") are taken only from inside
// the program directory: the definition is untrusted, and must not run whatever it likes.

#include <optional>
#include <string>
#include <string_view>

namespace korvath {

// Paths longer than this are refused.
inline constexpr std::size_t kMaxProgramPathLength = 800;

// The full path of `relative` inside `programDirectory`, or none when the name is empty, too long,
// absolute (a leading separator or a drive letter), has a ".." component, or leads out of the
// directory through a link. Backslashes count as separators.
std::optional<std::string> PathInsideProgramDirectory(const std::string& programDirectory, std::string_view relative);

// An "Execute" value ending so (exact case) is a help topic, shown in the help viewer.
inline constexpr std::string_view kHelpTopicSuffix = ".rtf";

// Whether an "Execute" value names a help topic (".rtf", exact case) rather than a program.
bool IsHelpTopicPath(std::string_view execute);

// A started program, as the button that started it knows it.
enum class ProcessState { Running, Ended, QueryFailed };
// The state of process `pid`; errorText receives the system's text when the query fails.
ProcessState QueryProcessState(long long pid, std::string& errorText);

}  // namespace korvath
