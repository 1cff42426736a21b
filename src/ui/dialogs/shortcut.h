#pragma once
// The program's launcher on the desktop. It is written again at every start, so a launcher the
// user deleted comes back; nothing is reported when it cannot be written.

#include <string>

namespace korvath::ui {

// Shell folder numbers that CreateShortcut understands. There is no desktop shared by all users
// here: every desktop number means the user's desktop folder.
inline constexpr int kDesktopFolder = 0;
inline constexpr int kDesktopDirectoryFolder = 16;
inline constexpr int kCommonDesktopFolder = 25;

// The folder of a shell folder number: the XDG desktop folder for the desktop numbers, when it
// exists; empty otherwise (no such folder: the launcher has no place to go).
std::string ShellFolderPath(int folderId);

// The text of a desktop-entry launcher that starts `target` (with a calibration file, when one
// is dropped on it) in `workingDirectory`.
std::string DesktopEntryText(const std::string& target, const std::string& workingDirectory,
                             const std::string& description, const std::string& icon);

// Writes the launcher `linkFileName` into the folder `folderId`, replacing an existing file.
// Returns whether it was written; callers ignore the answer, failures are silent.
bool CreateShortcut(const std::string& target, const std::string& linkFileName, const std::string& workingDirectory,
                    const std::string& description, int folderId);

// The start-up call: "The Korvath Tuning System.desktop" on the desktop for the running
// executable, working in `programDirectory`.
bool CreateProgramShortcut(const std::string& executablePath, const std::string& programDirectory);

// Quotes one argument of a launcher's Exec line (reserved characters, '%' doubled).
std::string QuoteExecArgument(const std::string& argument);

}  // namespace korvath::ui
