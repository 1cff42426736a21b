#pragma once
// Every text of the Tools menu and its tools, kept once.

namespace korvath::ui::texts {

inline constexpr const char* kMenuTools = "&Tools";

inline constexpr const char* kCompareItem = "Compare with Calibration...";
inline constexpr const char* kCompareStatus = "Draw another calibration's curves behind these and list what differs";
inline constexpr const char* kStopCompareItem = "Stop Comparing";
inline constexpr const char* kStopCompareStatus = "Remove the compared calibration's curves and list";
inline constexpr const char* kExportCurvesItem = "Export Curves...";
inline constexpr const char* kExportCurvesStatus = "Save the visible curves as a PNG, SVG or PDF picture";

inline constexpr const char* kCompareTitle = "Compare with Calibration";
inline constexpr const char* kExportTitle = "Export Curves";
inline constexpr const char* kPictureFilter = "PNG Picture (*.png);;SVG Drawing (*.svg);;PDF Document (*.pdf)";
inline constexpr const char* kExportFailedCaption = "Export Curves:";

inline constexpr const char* kDifferencesTitle = "Differences";
inline constexpr const char* kSettingColumn = "Setting";
inline constexpr const char* kEditedColumn = "This calibration";
inline constexpr const char* kComparedColumnFormat = "Compared: %1";
inline constexpr const char* kNoDifferences = "No differences";

}  // namespace korvath::ui::texts
