#pragma once
// Every text the application shell shows, kept once.

namespace korvath::ui::texts {

// The document type: window title, document name, new-file name, filter, extension, file-type
// id and display name.
inline constexpr const char* kAppTitle = "Korvath Tuning System";
inline constexpr const char* kUntitled = "Untitled";
inline constexpr const char* kNewFileName = "QRNCal";
inline constexpr const char* kFileFilter = "QRN Calibration Files (*.qvr)";
inline constexpr const char* kAllFilesFilter = "All Files (*)";
inline constexpr const char* kFileExtension = ".qvr";
inline constexpr const char* kFileTypeId = "ZDM.QRNCal";
inline constexpr const char* kFileTypeName = "QRNCalibration";
inline constexpr const char* kTitleSeparator = " - ";

inline constexpr const char* kAlreadyRunningCaption = "Application Already Running!";
inline constexpr const char* kAlreadyRunningText =
    "This application is already running, and you cannot start a second session.  Try holding down the "
    "\"ALT\" key and pressing the \"Tab\" key to switch to the original instance.  If this does not work, "
    "try restarting Windows.";

inline constexpr const char* kErrorCaption = "Error";
inline constexpr const char* kCloseSettingsFirst =
    "Please close the \"System Settings\" window before selecting the \"New File\" option.";

inline constexpr const char* kSelectPortCaption = "Select Serial Port";
inline constexpr const char* kSelectPortText =
    "Since this is the first time that you have run this program, you need to select the communication port "
    "that the controller will be connected to.  If you need to change this setting later, you can select "
    "\"Communication Setup\" from the \"View\" menu to come back to the COM Port Selection window.";

inline constexpr const char* kUsbDirectCaption = "USB Direct Connection Detected:";
inline constexpr const char* kUsbDirectText =
    "A controller has been connected via USB Direct. USB Direct connects automatically, and no communication "
    "settings are necessary for this controller. The settings displayed on this screen are for information "
    "only, and will have no effect with this controller.";

// The save prompt of a modified calibration; %1 is the document's name.
inline constexpr const char* kSaveChangesFormat = "Save changes to %1?";
inline constexpr const char* kOpenTitle = "Open";
inline constexpr const char* kSaveAsTitle = "Save As";

// Status bar.
inline constexpr const char* kIdleStatus = "For Help, press F1";
inline constexpr const char* kIndicatorCaps = "CAP";
inline constexpr const char* kIndicatorNum = "NUM";
inline constexpr const char* kIndicatorScroll = "SCRL";

// Bars.
inline constexpr const char* kGraphBarTitle = "Graph Controls";
inline constexpr const char* kDashboardTitle = "Dashboard";
inline constexpr const char* kGraphBarHiddenText = "Shift Points";
inline constexpr const char* kBarPositions = "BarPositions";

// Menus.
inline constexpr const char* kMenuFile = "&File";
inline constexpr const char* kMenuEdit = "&Edit";
inline constexpr const char* kMenuView = "&View";
inline constexpr const char* kMenuHelp = "&Help";
inline constexpr const char* kRecentFilePlaceholder = "Recent File";

}  // namespace korvath::ui::texts
