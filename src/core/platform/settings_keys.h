#pragma once
// Every section and key of the settings file, with the defaults used when reading them.

namespace korvath::settings {

inline constexpr const char* kAboutBox = "AboutBox";
inline constexpr const char* kStartBox = "StartBox";
inline constexpr const char* kShowAtStartup = "ShowAtStartup";  // default 1; only exactly 1 shows the box
inline constexpr int kShowAtStartupDefault = 1;

inline constexpr const char* kCommunication = "Communication Settings";
inline constexpr const char* kComPortNumber = "COMPortNumber";  // default 0: no port chosen
inline constexpr int kComPortNumberDefault = 0;
// text: the serial number (or /dev/serial/by-id name) of the USB adapter on the chosen port;
// when it comes back under another COM number, that number is used and stored. Empty: none.
inline constexpr const char* kComPortAdapter = "COMPortAdapter";

inline constexpr const char* kHardwareProfile = "HardwareProfile";
inline constexpr const char* kDeviceType = "DeviceType";
inline constexpr const char* kFirmwareVersion = "FirmwareVersion";
inline constexpr const char* kFirmwareVersionMinor = "FirmwareVersionMinor";
inline constexpr const char* kHardwareVersion = "HardwareVersion";
// Defaults of a new calibration; loading a file reads them with 65535 meaning "absent".
inline constexpr int kNewDeviceType = 2;
inline constexpr int kNewFirmwareVersion = 3;
inline constexpr int kNewFirmwareVersionMinor = 3;
inline constexpr int kNewHardwareVersion = 2;
inline constexpr int kAbsentOnLoad = 65535;

inline constexpr const char* kRecentFileList = "Recent File List";
inline constexpr const char* kRecentFileKeyFormat = "File%d";  // 1 to 5
inline constexpr int kRecentFileCount = 5;

// The main window's place, in logical pixels: its client rectangle when neither maximized nor
// minimized, and whether it was maximized. No Width key: never saved, the first window fits the
// screen.
inline constexpr const char* kMainWindow = "MainWindow";
inline constexpr const char* kWindowLeft = "Left";
inline constexpr const char* kWindowTop = "Top";
inline constexpr const char* kWindowWidth = "Width";
inline constexpr const char* kWindowHeight = "Height";
inline constexpr const char* kWindowMaximized = "Maximized";  // 1: maximized

inline constexpr const char* kDataLog = "DataLog";
inline constexpr const char* kCrosshairTrail = "CrosshairTrail";  // default 1: the trail is drawn
inline constexpr int kCrosshairTrailDefault = 1;
inline constexpr const char* kRestorePoints = "RestorePoints";
// default 0: a flash write keeps no restore point of the table it overwrites
inline constexpr const char* kReadFlashTableBeforeWriting = "ReadFlashTableBeforeWriting";
inline constexpr int kReadFlashTableBeforeWritingDefault = 0;

}  // namespace korvath::settings
