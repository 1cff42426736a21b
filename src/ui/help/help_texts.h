#pragma once
// The help viewer's own texts.

namespace korvath::ui::help_texts {

inline constexpr const char* kViewerTitle = "Tuning Help Viewer";
inline constexpr const char* kDoneButton = "Done";
// %1 is the path of the topic file.
inline constexpr const char* kFileNotFound = "%1 was not found.";
// A topic file that is there but cannot be read: %1 the path, %2 the system's reason.
inline constexpr const char* kFileNotOpened = "%1 cannot be opened: %2.";
// The topic that Help Topics and F1 open, relative to the program directory.
inline constexpr const char* kContentsTopic = "help/Contents.rtf";

}  // namespace korvath::ui::help_texts
