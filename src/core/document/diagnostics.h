#pragma once
// Diagnostics for technical support: the RAM dump file of the controller's operating state.

#include <string>
#include <vector>

namespace korvath {

class CQRNDoc;

namespace diagnostics {
inline constexpr char kRamDumpFileName[] = "RAMDump.txt";
inline constexpr char kRamDumpHeader[] = "      0  1  2  3  4  5  6  7  8  9  A  B  C  D  E  F";
inline constexpr char kRamDumpRowFormat[] = "\n0x%X |";
inline constexpr char kRamDumpByteFormat[] = " %02x";
inline constexpr int kRamDumpBytes = 256;
inline constexpr char kReadingStateStatus[] = "Reading controller operating state...";
inline constexpr char kStateReadStatus[] = "Controller operating state read complete";
// A dump file that cannot be made is the file's fault, not the controller's: the path and the
// system's reason.
inline constexpr char kRamDumpFileCaption[] = "RAM Dump File Error:";
inline constexpr char kRamDumpFileFailed[] = "The RAM dump could not be saved as %s: %s";
}  // namespace diagnostics

// What a RAM dump came to (CQRNDoc::DumpControllerRam).
enum class RamDumpResult {
    Written,
    FileFailed,        // the file or its folder could not be made; the message has been shown
    ControllerFailed,  // the controller stopped answering; the previous dump file is as it was
};

// The text of a dump of the given RAM bytes (the header, the rule and 16 rows of 16 bytes; a
// short read ends the text after the last byte given). No line end after the last row.
std::string RamDumpText(const std::vector<unsigned char>& bytes);

}  // namespace korvath
