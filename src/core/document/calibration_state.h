#pragma once
// What an undo step keeps of the document: the trace points as stored (a curve edit changes
// nothing else), or the whole calibration with the definition it was made with (a settings page
// may change any value, the stored choices, even the transmission and with it the definition).
// Restoring puts the stored values back exactly, never re-quantised display values.

#include <string>

#include "definition/calibration.h"

namespace korvath {

class CQRNDoc;

struct CalibrationState {
    Calibration calibration;
    std::string definitionText;
    std::string definitionDirectory;
};

CalibrationState CaptureState(const CQRNDoc& doc);
// Whether the document holds exactly `state`.
bool HoldsState(const CQRNDoc& doc, const CalibrationState& state);
// Puts `state` back and rebuilds what shows it: the bars, the curves and the open settings sheet.
void RestoreState(CQRNDoc& doc, const CalibrationState& state);

// Puts the stored points back and shows them on the graph.
void RestorePoints(CQRNDoc& doc, const TracePoints& points);

bool SameCalibration(const Calibration& a, const Calibration& b);

}  // namespace korvath
