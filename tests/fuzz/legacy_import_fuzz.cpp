// The old program's text files: parsed, then imported into a new calibration.

#include <cmath>

#include "calibration/legacy_import.h"
#include "fuzz_document.h"
#include "fuzz_target.h"

KORVATH_FUZZ_TARGET(legacy_import)(const std::uint8_t* data, std::size_t size) {
    using namespace korvath;
    const std::string_view body = fuzz::AsText(data, size);
    LegacyCalibration old;
    int line = 0;
    if (!ParseLegacyCalibration(body, old, line)) return 0;
    fuzz::FuzzDocument f;
    ImportLegacyCalibration(f.doc, body);
    // Nothing that is not a number reaches a float of the calibration.
    const VariableTable& table = f.doc.variables();
    for (int i = 0; i < table.count && i < kMaxVariables; ++i) {
        const VariableSlot& slot = table.slots[static_cast<std::size_t>(i)];
        if (slot.type == VarType::F32) KORVATH_FUZZ_CHECK(std::isfinite(slot.Float()));
    }
    return 0;
}
