#include "datalog/shift_markers.h"

#include "graph/graphengine.h"

namespace korvath::datalog {

std::vector<ShiftMarker> ShiftMarkers(const std::vector<ShiftEvent>& shifts, const CGraphEngine& graph) {
    std::vector<ShiftMarker> markers;
    for (const ShiftEvent& shift : shifts) {
        if (!shift.crosshairX || !shift.crosshairY) continue;
        ShiftMarker marker;
        graph.CrosshairCentre(*shift.crosshairX, *shift.crosshairY, marker.x, marker.y);
        marker.direction = shift.direction;
        markers.push_back(marker);
    }
    return markers;
}

}  // namespace korvath::datalog
