#pragma once
// The calibration transfer between the document and the controller's non-volatile memory: the
// texts it shows, and the checks of a definition's transfer layout. The operations themselves
// are members of CQRNDoc (document/transfer.cpp).

#include <cstdint>
#include <string>

#include "definition/variable_table.h"

namespace korvath {

// Command ids of the transfer commands.
inline constexpr int kWriteCalibrationCommand = 32776;
inline constexpr int kReadCalibrationCommand = 32779;
inline constexpr int kSelectTable1Command = 32791;
inline constexpr int kSelectTable2Command = 32792;

namespace transfer_text {

inline constexpr char kWriteCaption[] = "Calibration Write Error:";
inline constexpr char kReadCaption[] = "Calibration Read Error:";
inline constexpr char kNoControllerWrite[] =
    "Could not write data to memory of controller.  No controller found.\n\nPlease insure that controller is "
    "connected and powered-up.";
inline constexpr char kNoControllerRead[] =
    "Could not read data from memory of controller.  No controller found.\n\nPlease insure that controller is "
    "connected and powered-up.";

inline constexpr char kPageSelectCaption[] = "EEPROM Page Select Error:";
inline constexpr char kByteReadCaption[] = "EEPROM Byte Read Error:";
inline constexpr char kByteWriteCaption[] = "EEPROM Byte Write Error:";
inline constexpr char kFlashWriteCaption[] = "Flash Write Error:";
inline constexpr char kFlashMemoryWriteCaption[] = "Controller Flash Memory Write Error:";
inline constexpr char kFlashMemoryReadCaption[] = "Controller Flash Memory Read Error:";
inline constexpr char kMalformedPacket[] =
    "Malformed packet data received from controller. Please double-check your connections and try again.";
inline constexpr char kWriteTimeout[] =
    "Communication timeout while attempting to write to controller. Please insure that controller is powered-up "
    "and try again.";
inline constexpr char kReadCommunicationError[] =
    "Communication error while attempting to read from controller. Please insure that controller is powered-up "
    "and try again.";

inline constexpr char kWritingFormat[] = "Writing controller NVM table %d";
inline constexpr char kReadingFormat[] = "Reading controller NVM table %d";
inline constexpr char kWriteCompleteFormat[] = "Write to controller NVM table %d complete.";
inline constexpr char kReadCompleteFormat[] = "Read of controller NVM table %d complete.";

// The title a calibration read from the controller gets: the directory of the document's path
// and the table number.
inline constexpr char kReadbackTitleFormat[] = "%sControllerReadback_Table#%d";

// Definitions the transfer refuses before it touches the controller.
inline constexpr char kImageSizeFormat[] =
    "The definition declares a memory image of %d bytes ($TotalBlockSize); an image of 1 to 32767 bytes is needed "
    "to transfer a calibration.";
inline constexpr char kEepromImageTooLargeFormat[] =
    "The definition declares a memory image of %d bytes ($TotalBlockSize), but an EEPROM table holds 256 bytes.  "
    "The calibration was not transferred.";
inline constexpr char kZeroFlashBlockSize[] =
    "The definition's flash block size ($FlashBlockSize) is 0.  The calibration was not transferred.";
inline constexpr char kBadCalBufferSizeFormat[] =
    "The definition's transfer buffer size ($CalBufferSize = %u) is not a non-zero multiple of 256 and of the flash "
    "block size ($FlashBlockSize = %u), or holds more than 256 flash blocks.  The calibration was not transferred.";
inline constexpr char kBufferOutOfRangeFormat[] =
    "The definition's transfer buffer (RAM 0x%X to 0x%X, $CalBufferStart and $CalBufferSize) lies beyond the "
    "addresses a block packet can reach (0x%X).  The calibration was not transferred.";
inline constexpr char kFlashBlocksOutOfRangeFormat[] =
    "Table #%d of this definition ($CalNVMStart, $CalNVMPageSize) reaches flash block %u, beyond the last block a "
    "burn or load can name (0xFFF).  The calibration was not transferred.";
inline constexpr char kNoDefinitionForControllerFormat[] =
    "No definition for the connected controller (product %d, firmware %d.%d) was found in %s.  The calibration "
    "was not transferred.";
inline constexpr char kImageNotBuilt[] =
    "The memory image could not be built from the calibration.  The calibration was not written.";
inline constexpr char kNoCurveConversionsFormat[] =
    "The definition file %s, through which the curves read from the controller are converted, could not be "
    "read.  The calibration was left as it was.";
inline constexpr char kImageNotTaken[] =
    "The memory image read from the controller does not fit the definition.  The calibration was left as it was.";

// Restore points and the words after an interrupted write.
inline constexpr char kPartlyWrittenBytesFormat[] =
    "The controller's table %d may now be partly written: %zu of its %zu bytes were stored before the write "
    "stopped.  Write the calibration again.";
inline constexpr char kPartlyWrittenBlocksFormat[] =
    "The controller's table %d may now be partly written: %u of its %u flash blocks were stored before the write "
    "stopped.  Write the calibration again.";
inline constexpr char kWayBackFormat[] =
    "  The table as it was before this write is restore point %s: write it back with Tools > Restore Points, or "
    "korvath-cli restore %s.";
inline constexpr char kNoFlashRestorePointFormat[] =
    "No restore point of flash table %d as it was before this write was kept: a flash table is kept only when it "
    "is read first (korvath-cli write --backup, or Tools > Read Flash Table Before Writing).";
inline constexpr char kBackupReadFailedFormat[] =
    "Flash table %d could not be read before the write, so nothing was written.";
inline constexpr char kRestorePointDoesNotFit[] =
    "The restore point's image does not fit the definition's memory image.  The calibration was not written.";

}  // namespace transfer_text

// Why the layout cannot be transferred to table `table` (0 or 1) with the monitor's RAM
// addressing mode `ramMode`; empty when it can.
std::string CheckTransferLayout(const ImageLayout& layout, int table, int ramMode);

// The title OnReadCalibration gives the document: pathName cut after its last separator
// (backslash or slash) followed by "ControllerReadback_Table#<table + 1>".
std::string ReadbackTitle(const std::string& pathName, int table);

}  // namespace korvath
