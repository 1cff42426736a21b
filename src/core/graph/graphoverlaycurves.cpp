// CGraphEngine: read-only overlay curves, the traces of a calibration compared with the one
// being edited.

#include <algorithm>

#include "graph/graphengine.h"

namespace korvath {

void CGraphEngine::SetOverlayValues(int trace, const float* values) {
    if (!ValidTrace(trace)) return;
    Overlay& overlay = overlays_[static_cast<std::size_t>(trace)];
    overlay.shown = values != nullptr;
    if (!values) return;
    overlay.minimum = overlay.maximum = values[0];
    for (int c = 0; c < pointCount_; ++c) {
        overlayValues_[Index(trace, c)] = values[c];
        overlay.minimum = std::min(overlay.minimum, values[c]);
        overlay.maximum = std::max(overlay.maximum, values[c]);
    }
}

void CGraphEngine::ClearOverlays() {
    for (Overlay& overlay : overlays_) overlay.shown = 0;
}

bool CGraphEngine::HasOverlay(int trace) const {
    return ValidTrace(trace) && overlays_[static_cast<std::size_t>(trace)].shown;
}

float CGraphEngine::OverlayValue(int trace, int column) const {
    return HasOverlay(trace) && ValidColumn(column) ? overlayValues_[Index(trace, column)] : 0.0f;
}

void CGraphEngine::WidenRangeByOverlays(bool& any, float& minimum, float& maximum) const {
    for (const Overlay& overlay : overlays_) {
        if (!overlay.shown) continue;
        if (!any || overlay.minimum < minimum) minimum = overlay.minimum;
        if (!any || overlay.maximum > maximum) maximum = overlay.maximum;
        any = true;
    }
}

void CGraphEngine::DrawOverlays(DrawSurface& surface) {
    for (int t = traceCount_ - 1; t >= 0; --t) {
        if (!overlays_[static_cast<std::size_t>(t)].shown) continue;
        surface.SetPen(Pen{PenStyle::Dash, metrics_.tracePenWidth, traces_[static_cast<std::size_t>(t)].color,
                           PenCap::Round});
        int previousX = ColumnToX(0);
        int previousY = ValueToY(overlayValues_[Index(t, 0)]);
        for (int c = 1; c < pointCount_; ++c) {
            const int x = ColumnToX(c);
            const int y = ValueToY(overlayValues_[Index(t, c)]);
            surface.DrawLine(previousX, previousY, x, y);
            previousX = x;
            previousY = y;
        }
    }
}

}  // namespace korvath
