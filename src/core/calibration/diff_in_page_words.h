#pragma once
// A comparison named the way the user meets each difference: a value a settings page shows by
// its page and caption, with both values as the page shows them; a curve point by its curve and
// column, in display units; only what no page shows by the name the calibration keeps.

#include <string>
#include <vector>

#include "calibration/calibration_diff.h"
#include "layout/shown_settings.h"

namespace korvath {

class CGraphEngine;
class CQRNDoc;

// Gives every item its page, label, column label and shown values (aText, bText). `shownA` and
// `shownB` are the settings the pages of each side show; `graph` labels the columns (may be null).
void NameInPageWords(CalibrationDiff& diff, const std::vector<ShownSetting>& shownA,
                     const std::vector<ShownSetting>& shownB, const CGraphEngine* graph);

// What the settings pages of `doc` show, read from a copy: `doc` itself is not changed.
std::vector<ShownSetting> ShownSettingsOf(CQRNDoc& doc);

// CompareCalibrations with the items named in the pages' words; neither side is changed.
CalibrationDiff CompareInPageWords(CQRNDoc& a, CQRNDoc& b, bool includeEqual);

}  // namespace korvath
