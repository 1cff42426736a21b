#pragma once
// ".qvr" calibration files: a one-line header ("QVR02") and then every member of the
// calibration in a fixed order, the definition text, the variable table and the formula
// lists included, so a calibration opens where its definition file is missing.
//
// A file is untrusted input. Opening reads it completely into a detached copy first and
// replaces the calibration only when the whole file was read, so a damaged file is refused
// with a message and leaves the open calibration exactly as it was.

#include <functional>
#include <string>
#include <string_view>

#include "calibration/archive.h"
#include "definition/calibration.h"

namespace korvath {

class CQRNDoc;

inline constexpr std::string_view kCalibrationHeader = "QVR02";
// Text calibrations of the older program begin with this line (the quotes belong to it).
inline constexpr std::string_view kLegacyHeader = "\"QVR01\"";
inline constexpr const char* kCalibrationExtension = ".qvr";
// Caption of the message that refuses a file whose content cannot be taken in.
inline constexpr const char* kDamagedFileCaption = "Damaged Calibration File:";

// Everything a file holds after its header, read without touching the document.
struct CalibrationImage {
    Calibration calibration;
    std::string definitionText;
    // Formula counts as the file gave them (the lists keep at most 40 each).
    std::int32_t storeFormulasInFile = 0;
    std::int32_t loadFormulasInFile = 0;
};

// Storing: the header and every item, in file order. False only for a string too long for
// the format (4 GiB).
bool Serialize(ArchiveWriter& ar, const Calibration& calibration, std::string_view definitionText);
// Loading: every item after the header. False (ar.error() says why) when the data ends early,
// a string runs past its end, or a count cannot be honoured.
bool Serialize(ArchiveReader& ar, CalibrationImage& image);

// The first line of `bytes` up to its line feed, without a carriage return before it;
// `bodyStart` receives the offset just after the line feed.
std::string_view HeaderLine(std::string_view bytes, std::size_t& bodyStart);

// Replacements for steps of opening a file; an empty function runs the document's own
// (IdentifyController(0, 1), RefreshSettingsSheet(0)).
struct OpenHooks {
    // Identification of the connected controller (IdentifyController(0, 1)).
    std::function<void(CQRNDoc&)> identify;
    // Refresh of the open System Settings sheet (RefreshSettingsSheet(0)).
    std::function<void(CQRNDoc&)> refreshSettingsSheet;
};

// The document's file commands. Opening accepts both formats; saving writes a temporary
// file beside `path` and renames it over `path`. Both clear the modified flag on success and
// report failures through the document's message box.
bool OpenCalibrationFile(CQRNDoc& doc, const std::string& path, const OpenHooks& hooks = {});
bool OpenCalibrationData(CQRNDoc& doc, std::string_view bytes, const OpenHooks& hooks = {});
bool SaveCalibrationFile(CQRNDoc& doc, const std::string& path);
// The bytes SaveCalibrationFile writes.
std::string CalibrationFileBytes(const CQRNDoc& doc);

// The largest file opened: far beyond any calibration, small enough to read at once.
inline constexpr std::size_t kMaxCalibrationFileSize = 64u << 20;

}  // namespace korvath
