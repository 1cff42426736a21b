#pragma once
// The texts the controller link composes for the user, each kept once.

namespace korvath::comm_text {

// Monitor exchanges.
inline constexpr char kSendFailed[] = "Comm. Send Failed.";
inline constexpr char kReadbackCharFormat[] = "Comm. Readback Error: RX = %s, expected '%c'.\n";
inline constexpr char kReadbackTextFormat[] = "Comm. Readback Error: RX = %s, expected '%s'.\n";
inline constexpr char kReadbackNothingFormat[] = "Comm. Readback Error: RX = NULL, expected '%s'.\n";
inline constexpr char kResultErrorFormat[] = "Comm. Result Error: RX = %s, expected 2 bytes.\n";
// A reply whose two value characters are not hexadecimal digits (read as a failed exchange).
inline constexpr char kResultNotHexFormat[] = "Comm. Result Error: RX = %s, expected 2 hexadecimal digits.\n";
// A stored byte the controller did not confirm.
inline constexpr char kConfirmErrorFormat[] = "Comm. Confirm Error: RX = %s, expected '%c'.\n";
inline constexpr char kReceivedCharFormat[] = "'%c'";
inline constexpr char kReceivedNothing[] = "NULL";

inline constexpr char kReadWrtCmdPrefix[] = "Error in function CTCS_Monitor::read_wrt_cmd: ";
inline constexpr char kTestAndWritePrefix[] = "Error in function CTCS_Monitor::test_and_write_NVM: ";
inline constexpr char kReadNvmPrefix[] = "Error in function CTCS_Monitor::read_NVM: ";

inline constexpr char kEepromWriteEnableCaption[] = "EEPROM Write Enable Error:";
inline constexpr char kEepromWriteDisableCaption[] = "EEPROM Write Disable Error:";

// Serial port.
inline constexpr char kNoComPortSelected[] =
    "No COM port has been selected, so no port could be opened.  Choose Communication Setup from the View "
    "menu to select a communication port.";
inline constexpr char kPortMissingFormat[] =
    "Could not open serial port COM%d.  This port does not appear to exist on this system.\n\nIf COM%d is a "
    "USB-to-serial adapter, please make sure that the device and the appropriate driver are properly installed "
    "and try again.";
inline constexpr char kPortInUseFormat[] =
    "Could not open serial port COM%d.  This port appears to be in use by another program.";
inline constexpr char kPortUnexpectedFormat[] =
    "Could not open serial port COM%d, due to an unexpected error.  Error number = %d";
// The same failures of a device named by its path, which has no COM number.
inline constexpr char kDeviceMissingFormat[] =
    "Could not open the serial device %s.  This device does not appear to exist on this system.";
inline constexpr char kDeviceInUseFormat[] =
    "Could not open the serial device %s.  This device appears to be in use by another program, or you have no "
    "permission to use it.";
inline constexpr char kDeviceUnexpectedFormat[] =
    "Could not open the serial device %s, due to an unexpected error.  Error number = %d";
inline constexpr char kDeviceSetupFailedFormat[] =
    "The serial device %s could not be set up as a serial line.  Error number = %d";
// What follows a refused open: the device's group and how to join it.
inline constexpr char kJoinGroupFormat[] =
    "You may not open %s: it belongs to the group %s, and only its members may use it.  Join the group with "
    "the command\n\n    sudo usermod -aG %s $USER\n\nthen log out and log in again (a new group counts from the "
    "next login).";
inline constexpr char kLoginAgainFormat[] =
    "You may not open %s yet: you were added to its group %s after this session began.  Log out and log in "
    "again, then try once more.";
inline constexpr char kOwnerOnlyFormat[] =
    "You may not open %s: only its owner %s may use it (its group %s may not).  Ask the administrator of this "
    "computer for access to it.";
// A USB adapter the settings remember has come back under another number.
inline constexpr char kAdapterMovedFormat[] = "The adapter %s is now COM%d";
inline constexpr char kGetStateFailedFormat[] = "GetCommState failed for serial port COM%d.  Error number = %d";
inline constexpr char kSetStateFailedFormat[] = "SetCommState failed for serial port COM%d.  Error number = %d";

}  // namespace korvath::comm_text
