#pragma once
// Programs and help topics that a definition file names ("Execute") are taken only from inside
// the program directory: the definition is untrusted, and must not run whatever it likes.

#include "platform/program_relative_path.h"

#include <string>
#include <string_view>

namespace korvath {

// An "Execute" value ending so (exact case) is a help topic, shown in the help viewer.
inline constexpr std::string_view kHelpTopicSuffix = ".rtf";

// Whether an "Execute" value names a help topic (".rtf", exact case) rather than a program.
bool IsHelpTopicPath(std::string_view execute);

// A started program, as the button that started it knows it.
enum class ProcessState { Running, Ended, QueryFailed };
// The state of process `pid`; errorText receives the system's text when the query fails.
ProcessState QueryProcessState(long long pid, std::string& errorText);

}  // namespace korvath
