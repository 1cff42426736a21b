#pragma once
// Single calibration values by name, for scripts: the declared scalar and text variables by
// their names, and trace points as "trace.N[i]" in store units. Setting checks the value
// against the variable's type before anything changes, and tells when a settings page's edit
// box would not keep the value.

#include <string>
#include <string_view>
#include <vector>

#include "calibration/calibration_diff.h"

namespace korvath {

class CQRNDoc;

// The value of `name`; false with `error` when the name is neither a declared scalar or text
// variable nor a trace point.
bool GetCalibrationValue(const CQRNDoc& doc, std::string_view name, DiffValue& value, std::string& error);

struct SetResult {
    bool ok = false;
    std::string error;                // why nothing was set
    std::vector<std::string> notices; // edit boxes that would clamp the value
};

// Applies "NAME=VALUE" (or "trace.N[i]=VALUE"). On failure the calibration is unchanged.
SetResult SetCalibrationValue(CQRNDoc& doc, std::string_view assignment);

// The longest text a text variable takes from a script.
inline constexpr std::size_t kMaxTextValueLength = 255;

}  // namespace korvath
