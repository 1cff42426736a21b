#pragma once
// Where the shifts of a replayed log lie on the curves: one marker per shift at the crosshair's
// position of its row, so that the technician sees whether the car shifted where the curve says.

#include <vector>

#include "datalog/shift_events.h"

namespace korvath {
class CGraphEngine;
}

namespace korvath::datalog {

struct ShiftMarker {
    int x = 0, y = 0;  // pixels, as the crosshair's centre
    ShiftDirection direction = ShiftDirection::Unknown;
};

// The markers of the shifts whose crosshair was shown, placed as the engine places its crosshair.
std::vector<ShiftMarker> ShiftMarkers(const std::vector<ShiftEvent>& shifts, const CGraphEngine& graph);

}  // namespace korvath::datalog
