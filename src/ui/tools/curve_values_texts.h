#pragma once
// Every text of the Curve Values dock and the undo history, kept once.

namespace korvath::ui::texts {

inline constexpr const char* kCurveValuesItem = "Curve Values";
inline constexpr const char* kCurveValuesStatus = "Show the values of the visible curves as a table to type and paste";
inline constexpr const char* kCurveValuesTitle = "Curve Values";
inline constexpr const char* kUndoHistoryItem = "Undo History...";
inline constexpr const char* kUndoHistoryStatus = "List the changes that Undo and Redo step through";
inline constexpr const char* kUndoHistoryTitle = "Undo History";
inline constexpr const char* kUndoHistoryClean = "As opened";

inline constexpr const char* kUndo = "Undo";
inline constexpr const char* kRedo = "Redo";
inline constexpr const char* kSetValue = "Set...";
inline constexpr const char* kAddValue = "Add...";
inline constexpr const char* kScaleValues = "Scale %...";
inline constexpr const char* kInterpolate = "Interpolate";
inline constexpr const char* kSmooth = "Smooth";
inline constexpr const char* kCopy = "Copy";
inline constexpr const char* kPaste = "Paste";

inline constexpr const char* kSetPrompt = "Set the selected cells to:";
inline constexpr const char* kAddPrompt = "Add to the selected cells:";
inline constexpr const char* kScalePrompt = "Scale the selected cells by this percentage (5 makes them 5 % larger):";
inline constexpr const char* kTypedStepFormat = "Type %1 into %2";
inline constexpr const char* kPasteCutFormat = "Pasted %1; %2 beyond the table's end left out.";
inline constexpr const char* kNoSelection = "Select the cells first.";
inline constexpr const char* kNoVisibleCurve = "No curve is shown: there is nothing to paste into.";

}  // namespace korvath::ui::texts
