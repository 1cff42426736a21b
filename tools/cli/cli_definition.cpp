#include "cli_definition.h"

#include <cstdio>

#include "calibration/calibration_values.h"

namespace korvath::cli {

bool SetVariableFromText(CQRNDoc& doc, const std::string& assignment) {
    const SetResult result = SetCalibrationValue(doc, assignment);
    if (!result.ok) std::fprintf(stderr, "korvath-cli: %s\n", result.error.c_str());
    for (const auto& notice : result.notices) std::fprintf(stderr, "korvath-cli: note: %s\n", notice.c_str());
    return result.ok;
}

}  // namespace korvath::cli
