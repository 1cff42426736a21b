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

// Help Topics, the browser of the program's own help.
inline constexpr const char* kTopicsTitle = "Help Topics";
inline constexpr const char* kBack = "< &Back";
inline constexpr const char* kForward = "&Forward >";
inline constexpr const char* kFindLabel = "F&ind:";
inline constexpr const char* kFindName = "Find in topic";
inline constexpr const char* kFindNext = "Find &Next";
inline constexpr const char* kContentsName = "Contents";
inline constexpr const char* kContentsEntry = "Contents";
inline constexpr const char* kTopicName = "Topic";
inline constexpr const char* kNoSuchTopic = "there is no such topic";
// %1 the topic, %2 why.
inline constexpr const char* kTopicNotShown = "%1 cannot be shown: %2.";
inline constexpr const char* kNotFoundInTopic = "\"%1\" is not in this topic.";

}  // namespace korvath::ui::help_texts
