#pragma once
// What a workshop's calibration report says, apart from how it is drawn: a header (the file, the
// time, the controller, the definition, the transmission), every settings page with each
// control's caption and value as the page shows it, and, when another calibration is given, the
// changes from it in the pages' words. The curves are drawn by the program beside these.

#include <string>
#include <vector>

#include "calibration/calibration_diff.h"

namespace korvath {

class CQRNDoc;

namespace report_texts {
inline constexpr char kTitle[] = "Calibration Report";
inline constexpr char kFile[] = "File";
inline constexpr char kDate[] = "Date";
inline constexpr char kController[] = "Controller";
inline constexpr char kDefinition[] = "Definition";
inline constexpr char kTransmission[] = "Transmission";
inline constexpr char kComparedWith[] = "Compared with";
inline constexpr char kCurves[] = "Curves";
inline constexpr char kChanges[] = "Changes";
inline constexpr char kNoChanges[] = "No differences.";
inline constexpr char kUntitled[] = "Untitled";
inline constexpr char kUnknown[] = "not known";
inline constexpr char kConnectedSuffix[] = " (connected)";
inline constexpr char kRecordedSuffix[] = " (as the calibration records it)";
// "Page 2 of 5".
inline constexpr char kPageFormat[] = "Page %d of %d";
}  // namespace report_texts

struct ReportField {
    std::string caption;
    std::string value;
    bool operator==(const ReportField&) const = default;
};

struct ReportSection {
    std::string title;
    std::vector<ReportField> fields;
};

struct CalibrationReport {
    std::string fileName;  // on every page
    std::vector<ReportField> header;
    std::vector<ReportSection> pages;  // the settings pages, in the sheet's order
    bool compared = false;
    std::vector<DiffRow> changes;  // when compared; empty: no differences
};

struct ReportRequest {
    std::string fileName{};  // the calibration's file name; empty: not saved yet
    std::string when{};      // the date and time the report is made, as the header shows it
    CQRNDoc* comparedWith = nullptr;  // a second calibration: its changes are listed
    std::string comparedName{};
};

// Reads everything from copies: neither calibration is changed.
CalibrationReport BuildCalibrationReport(CQRNDoc& doc, const ReportRequest& request);

// "product 2, hardware 1, firmware 3.3 (connected)", or "... (as the calibration records it)"; a
// calibration never read from a controller says "not known".
std::string ReportControllerText(const CQRNDoc& doc);

// The report as plain text, a line per field (what a test or a script reads).
std::string ReportText(const CalibrationReport& report);

}  // namespace korvath
