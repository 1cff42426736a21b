#pragma once
// Text calibrations of the older program (first line "QVR01" in double quotes): a comment,
// the transmission type and a fixed sequence of numbers, one per line. The import maps the
// old transmission type to a definition file through "OldTypetoDef.map", starts a new
// calibration on that definition and stores the old fields into the variables of the same
// names.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvath {

class CQRNDoc;

inline constexpr const char* kLegacyMapFile = "OldTypetoDef.map";
inline constexpr int kLegacyTables = 7;

// The old file after its header line, as read; no document involved.
struct LegacyCalibration {
    std::string comment;  // the lines of the quoted comment joined by single spaces, quotes removed
    std::string transmissionType, subType, description;  // quotes removed
    float axleRatio = 0, tireDiameter = 0, speedSensorFactor = 0;
    std::array<std::array<std::int16_t, 10>, kLegacyTables> tables{};
    // The 16-bit fields after the tables, in file order (the low-range ratio apart).
    std::vector<std::int16_t> fields;
    float lowRangeRatio = 0;
};

// Parses the lines after the header. False when the file ends before its last field;
// `lineReached` then tells how many lines were there.
bool ParseLegacyCalibration(std::string_view body, LegacyCalibration& old, int& lineReached);

// Builds the calibration from an old file (the bytes after its header line). A file that
// ends early is refused with a message before anything is changed; returns false then.
bool ImportLegacyCalibration(CQRNDoc& doc, std::string_view body);

// Looks `key` up in the map file at `path`: the first line that starts with key (letter case
// ignored) and holds "=" gives the trimmed text after its first "=". True when the file could
// be opened, even when no line matched (result is then empty).
bool LookupMapFile(const std::string& path, std::string_view key, std::string& result);

}  // namespace korvath
