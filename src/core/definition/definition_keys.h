#pragma once
// The names of the keys that several kinds of definition element share (tuning bar elements,
// dashboard items, settings page controls, data items, the application's identity). Each
// reader's own keys stay with that reader.

namespace korvath::definition_keys {

inline constexpr char kLogicalName[] = "LogicalName";
inline constexpr char kDisplayName[] = "DisplayName";
inline constexpr char kHelpText[] = "HelpText";
inline constexpr char kStatusBarText[] = "StatusBarTxt";
inline constexpr char kToolTip[] = "ToolTip";
inline constexpr char kEnableCondition[] = "EnableCondition";

}  // namespace korvath::definition_keys
