// The calibration file reader: a refused file leaves the calibration as it was; an accepted
// one saved again reopens to the same bytes.

#include "calibration/calibration_file.h"
#include "fuzz_document.h"
#include "fuzz_target.h"

KORVATH_FUZZ_TARGET(calibration_file)(const std::uint8_t* data, std::size_t size) {
    using namespace korvath;
    static fuzz::FuzzDocument f, other;
    f.Renew();
    other.Renew();
    const std::string before = CalibrationFileBytes(f.doc);
    if (!OpenCalibrationData(f.doc, fuzz::AsText(data, size))) {
        KORVATH_FUZZ_CHECK(CalibrationFileBytes(f.doc) == before);
        return 0;
    }
    const std::string saved = CalibrationFileBytes(f.doc);
    KORVATH_FUZZ_CHECK(OpenCalibrationData(other.doc, saved));
    KORVATH_FUZZ_CHECK(CalibrationFileBytes(other.doc) == saved);
    return 0;
}
