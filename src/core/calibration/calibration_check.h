#pragma once
// The check before a write: what in the calibration should make a user stop and think before it
// goes into the controller. Each finding is one plain sentence; no finding, no question.
//   - the calibration's transmission is not the one the controller holds;
//   - a curve the definition says must stay below another ("MustStayBelow <TraceNum>" in its
//     "Trace" element) is at or above it at some column: the gears would hunt;
//   - a setting holds a value outside the limits of the settings page's edit box that stores it
//     (opening the page would change it).

#include <string>
#include <vector>

namespace korvath {

class CQRNDoc;

// What the controller holds: its definition file and transmission name.
struct HeldCalibration {
    std::string definition;
    std::string transmission;
};

inline constexpr char kCheckCaption[] = "Check Calibration:";
inline constexpr char kCheckFoundIntro[] = "Before this calibration is written, please look at what was found:\n\n";
inline constexpr char kCheckWriteAnyway[] = "\n\nWrite it anyway?";
inline constexpr char kCheckNothingFound[] = "Nothing was found that would stop a write.";

// The "TransmissionType" a definition file declares; empty when the file cannot be read.
std::string TransmissionOfDefinition(const std::string& path);

// Every finding about the open calibration; held may be null (the controller's content is not
// known, so nothing to compare).
std::vector<std::string> CheckCalibration(CQRNDoc& doc, const HeldCalibration* held);

// The findings as one text, one paragraph each.
std::string FindingsText(const std::vector<std::string>& findings);

}  // namespace korvath
