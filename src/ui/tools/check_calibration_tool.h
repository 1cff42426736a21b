#pragma once
// The check before a write in the window: Tools > Check Calibration shows the findings on
// demand, and the Write command asks for a confirmation only when something is found.

namespace korvath {
class CQRNDoc;
}

namespace korvath::ui {

class ToolsMenu;

// Adds Tools > Check Calibration.
void AddCheckCalibrationItem(ToolsMenu& menu, CQRNDoc& doc);
// True when the write may go on: nothing was found, or the user said Yes to what was.
bool ConfirmWriteAfterCheck(CQRNDoc& doc);

}  // namespace korvath::ui
