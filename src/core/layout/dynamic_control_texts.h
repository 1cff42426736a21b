#pragma once
// The keys, formats and messages of the run-time controls of the settings pages (buttons, check
// boxes, radio options, text boxes, edit boxes), kept once.

namespace korvath::dynamic_texts {

// Keys of a "UserOption" block.
inline constexpr const char* kUserOption = "UserOption";
inline constexpr const char* kBitValStateFormat = "BitValState%d";
inline constexpr const char* kGlobalInfluence = "GlobalInfluence";
inline constexpr const char* kTargetLName = "TargetLName";
inline constexpr const char* kActionFormula = "ActionFormula";
inline constexpr const char* kActionFailText = "ActionFailText";
inline constexpr const char* kRangeFailFmt = "RangeFailFmt";
inline constexpr const char* kMinValue = "MinValue";
inline constexpr const char* kMaxValue = "MaxValue";
inline constexpr const char* kExecute = "Execute";
inline constexpr const char* kTargetVar = "TargetVar";
inline constexpr const char* kDisplayFormula = "DisplayFormula";
inline constexpr const char* kStoreFormula = "StoreFormula";
inline constexpr const char* kStoreFormula2 = "StoreFormula2";
inline constexpr const char* kStoreFormula3 = "StoreFormula3";
inline constexpr const char* kDeltaIncrement = "DeltaIncrement";
inline constexpr const char* kDefValue = "DefValue";

// A push button whose RangeFailFmt holds this marker starts the program named by its
// ActionFormula (the "Execute" value).
inline constexpr const char* kProgramMarker = "###Exec";

// Edit-box defaults.
inline constexpr const char* kDefaultDisplayFormat = "%#.2f";
inline constexpr const char* kDefaultDisplayFormula = "%#.2f = x";
inline constexpr const char* kDefaultStoreFormula = "x";
// Typed text and stored properties are numbers in this form.
inline constexpr const char* kNumberScanFormat = "%g";

inline constexpr const char* kCouldNotOpenProgram =
    "Could not open external program. Please try re-starting the application to correct this error. \n\n If "
    "this error persists, please call our tech support line for help.";
inline constexpr const char* kNoTarget =
    "No target set for this button. Could not apply this change. Please try re-starting the application to "
    "correct this error. \n\n If this error persists, please call our tech support line for help.";
inline constexpr const char* kProcessStatusErrorCaption = "Process Status Error:";

}  // namespace korvath::dynamic_texts
