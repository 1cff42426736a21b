#pragma once
// The name of a change made on the settings pages, as the undo history lists it: the first
// stored choice that changed with its old and new value ("ShiftFirmness: Soft → Firm"), else the
// transmission, else the first variable that changed.

#include <string>

#include "definition/calibration.h"

namespace korvath {

std::string SettingsStepName(const Calibration& before, const Calibration& after);

}  // namespace korvath
