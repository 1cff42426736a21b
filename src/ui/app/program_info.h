#pragma once
// What `korvath --help` and `korvath --version` print, answered before any window or display
// is needed, as Qt programs answer them.

#include <string>
#include <string_view>
#include <vector>

namespace korvath::ui {

enum class ProgramInfoRequest { None, Help, Version };

// A lone "--help"/"-h" or "--version"/"-v" after the program name; anything else is None.
ProgramInfoRequest ProgramInfoRequestOf(const std::vector<std::string_view>& arguments);

// Every form of the command line the program accepts.
std::string UsageText(std::string_view programName);
// "korvath 3.31" followed by the package revision letter, when there is one.
std::string VersionText(std::string_view programName, char packageRevision);

}  // namespace korvath::ui
