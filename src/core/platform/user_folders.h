#pragma once
// Where the program may write for the user. An installed program directory belongs to root, so
// what the program writes there in a portable copy goes to the user's own data folder instead.

#include <string>

namespace korvath {

// ${XDG_DATA_HOME:-~/.local/share}/korvath: the user's RAM dumps when the program directory is
// not writable, and the user's own definition folders (PID<n>/<fw>). A relative XDG_DATA_HOME is
// ignored, as the desktop's rules ask.
std::string UserDataDirectory();

// The folder a file the program makes for the user goes to: `preferred` (the program directory)
// when the user may create files there, otherwise UserDataDirectory(). The folder may still
// have to be made (MakeDirectories).
std::string WritableDirectory(const std::string& preferred);

// Makes `directory` and its missing parents. False, with the system's reason, when it is not
// a folder afterwards.
bool MakeDirectories(const std::string& directory, std::string& reason);

// The system's text for an errno value ("Permission denied").
std::string SystemReason(int error);

}  // namespace korvath
