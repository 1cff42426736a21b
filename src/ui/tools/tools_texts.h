#pragma once
// Every text of the Tools menu and its tools, kept once.

namespace korvath::ui::texts {

inline constexpr const char* kMenuTools = "&Tools";

inline constexpr const char* kCompareItem = "Compare with Calibration...";
inline constexpr const char* kCompareStatus = "Draw another calibration's curves behind these and list what differs";
inline constexpr const char* kStopCompareItem = "Stop Comparing";
inline constexpr const char* kStopCompareStatus = "Remove the compared calibration's curves and list";
inline constexpr const char* kExportCurvesItem = "Export Curves...";
inline constexpr const char* kExportCurvesStatus =
    "Save the visible curves as a PNG, SVG or PDF picture, or every curve and value as a CSV table";

inline constexpr const char* kStartLogItem = "Start Data Log...";
inline constexpr const char* kStartLogStatus = "Record the live data of a drive into a CSV data log";
inline constexpr const char* kStopLogItem = "Stop Data Log";
inline constexpr const char* kStopLogStatus = "Close the data log being recorded";
inline constexpr const char* kOpenLogItem = "Open Data Log...";
inline constexpr const char* kOpenLogStatus = "Replay a data log on the curves and the dashboard";
inline constexpr const char* kTrailItem = "Crosshair Trail";
inline constexpr const char* kTrailStatus = "Draw the last seconds of the operating point as a fading trail";

inline constexpr const char* kRestorePointsItem = "Restore Points...";
inline constexpr const char* kRestorePointsStatus =
    "List the tables kept at every read and write; open, compare or write one back";
inline constexpr const char* kReadFlashFirstItem = "Read Flash Table Before Writing";
inline constexpr const char* kReadFlashFirstStatus =
    "Read a flash controller's table before each write, so that it is kept as a restore point";
inline constexpr const char* kRestorePointsTitle = "Restore Points";
inline constexpr const char* kRestorePointsListName = "Restore points";
inline constexpr const char* kRestorePointColumns[] = {"Time", "Controller", "Table", "Reason", "Definition",
                                                       "Transmission"};
inline constexpr const char* kOpenPoint = "&Open";
inline constexpr const char* kComparePoint = "&Compare with Open Calibration";
inline constexpr const char* kWriteBackPoint = "&Write Back...";
inline constexpr const char* kClosePoints = "Close";
inline constexpr const char* kNoRestorePointsFormat = "No restore points yet in %1.";
inline constexpr const char* kWriteBackCaption = "Write Back Restore Point:";
inline constexpr const char* kWriteBackNoController =
    "No controller is connected.  Connect the controller, then write the restore point back.";
inline constexpr const char* kWriteBackIncompleteFlash =
    "This restore point of a flash table is incomplete and cannot be written back: a flash table is written in "
    "whole blocks.";

inline constexpr const char* kTraceItem = "Communication Trace...";
inline constexpr const char* kTraceStatus =
    "Write every exchange with the controller to a text file, until chosen again";
inline constexpr const char* kTraceTitle = "Communication Trace";
inline constexpr const char* kTraceDefaultName = "korvath-trace.txt";
inline constexpr const char* kTraceFilter = "Text files (*.txt);;All files (*)";
inline constexpr const char* kTraceNoLink = "this controller link cannot be traced";
inline constexpr const char* kTraceStartedFormat = "Communication trace started: %1";
inline constexpr const char* kTraceStoppedFormat = "Communication trace stopped: %1";
inline constexpr const char* kTraceFullFormat = "The communication trace %1 reached 10 MiB and stopped.";
inline constexpr const char* kTraceFailedFormat = "The communication trace could not be written to %1: %2";

inline constexpr const char* kCheckCalibrationItem = "Check Calibration";
inline constexpr const char* kCheckCalibrationStatus =
    "List what the check before each write finds in this calibration";

inline constexpr const char* kStartLogTitle = "Start Data Log";
inline constexpr const char* kOpenLogTitle = "Open Data Log";
inline constexpr const char* kLogFilter = "Data Logs (*.csv)";
inline constexpr const char* kStartLogFailedCaption = "Start Data Log:";
inline constexpr const char* kOpenLogFailedCaption = "Open Data Log:";
inline constexpr const char* kLogStoppedCaption = "Data Log:";
inline constexpr const char* kNoLogItems = "The definition has no live data items to log.";
inline constexpr const char* kCannotWriteLogFormat = "Cannot write the data log %1: %2";
inline constexpr const char* kCannotOpenLogFormat = "Cannot open the data log %1: %2";
inline constexpr const char* kLogEndedFormat = "The data log %1 ended: %2";
inline constexpr const char* kLogSavedFormat = "Data log saved: %1 (%2 rows)";
inline constexpr const char* kLogStatusName = "Data log";

inline constexpr const char* kReplayTitle = "Data Log Replay";
inline constexpr const char* kPlay = "Play";
inline constexpr const char* kPause = "Pause";
inline constexpr const char* kSpeed = "Speed";
inline constexpr const char* kPosition = "Position";
inline constexpr const char* kReplayTime = "Replay time";
inline constexpr const char* kCloseReplay = "Close Replay";
inline constexpr const char* kSpeedFormat = "\u00d7%1";

inline constexpr const char* kViewerItem = "Data Log Viewer...";
inline constexpr const char* kViewerStatus = "Plot a data log's channels over time and list its shifts";
inline constexpr const char* kViewerTitleFormat = "Data Log Viewer - %1";
inline constexpr const char* kViewerFailedCaption = "Data Log Viewer:";
inline constexpr const char* kChannels = "Channels";
inline constexpr const char* kChannelColumns[] = {"Channel", "Value at cursor"};
inline constexpr const char* kShifts = "Shifts";
inline constexpr const char* kNoShiftsFormat = "No shifts: %1";
inline constexpr const char* kFit = "Fit";
inline constexpr const char* kPlots = "Channel plots";
inline constexpr const char* kCursorTimeFormat = "Cursor: %1 s";
inline constexpr const char* kCursorTime = "Cursor time";
inline constexpr const char* kTimeAxis = "Time (s)";
inline constexpr const char* kLinkLostValue = "link lost";
inline constexpr const char* kViewerHint = "Wheel: zoom, drag: pan, Ctrl+drag: zoom to a box, click: cursor";

inline constexpr const char* kCompareTitle = "Compare with Calibration";
inline constexpr const char* kExportTitle = "Export Curves";
inline constexpr const char* kExportFilter =
    "PNG Picture (*.png);;SVG Drawing (*.svg);;PDF Document (*.pdf);;CSV Table (*.csv)";
inline constexpr const char* kExportFailedCaption = "Export Curves:";

inline constexpr const char* kDifferencesTitle = "Differences";
inline constexpr const char* kSettingColumn = "Setting";
inline constexpr const char* kEditedColumn = "This calibration";
inline constexpr const char* kComparedColumnFormat = "Compared: %1";
inline constexpr const char* kNoDifferences = "No differences";
inline constexpr const char* kChangedOnly = "Changed only";
inline constexpr const char* kCopyAsText = "Copy as text";

inline constexpr const char* kReportItem = "Calibration Report...";
inline constexpr const char* kReportStatus =
    "Save or print a report of this calibration: its controller, curves and settings, and the changes from another";
inline constexpr const char* kReportTitle = "Calibration Report";
inline constexpr const char* kReportCompare = "List the changes from another calibration:";
inline constexpr const char* kReportComparePath = "Calibration to compare with";
inline constexpr const char* kReportBrowse = "&Browse...";
inline constexpr const char* kReportSave = "&Save as PDF...";
inline constexpr const char* kReportPrint = "&Print...";
inline constexpr const char* kReportCancel = "Cancel";
inline constexpr const char* kReportFilter = "PDF Document (*.pdf)";
inline constexpr const char* kReportFailedCaption = "Calibration Report:";

}  // namespace korvath::ui::texts
