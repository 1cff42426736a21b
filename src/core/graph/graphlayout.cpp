// CGraphEngine: the value range, the grid step, the scales and origins, and the transforms
// between points and pixels.

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "graph/graphengine.h"
#include "graph/graphmath.h"

namespace korvath {
namespace {

constexpr std::int16_t kGridSteps[] = {1, 5, 10, 25, 50, 100, 250, 500, 1000, 2500, 5000, 10000};

// Point values beyond this are drawn as if they were at it, so that the axis arithmetic stays
// in 32 bits and the number of grid lines stays small.
constexpr float kValueLimit = 1.0e6f;

float LimitValue(float v) {
    if (!(v == v)) return 0.0f;
    return std::clamp(v, -kValueLimit, kValueLimit);
}

}  // namespace

void CGraphEngine::ComputeLayout(DrawSurface& surface) {
    // 1. Range of the visible traces.
    bool any = false;
    float minimum = 0.0f;
    float maximum = 0.0f;
    for (const Trace& t : traces_) {
        if (!t.visible) continue;
        if (!any || t.minimum < minimum) minimum = t.minimum;
        if (!any || t.maximum > maximum) maximum = t.maximum;
        any = true;
    }
    WidenRangeByOverlays(any, minimum, maximum);
    minimum = LimitValue(minimum);
    maximum = LimitValue(maximum);
    const float range = maximum - minimum;

    // 2. A small positive minimum puts 0 at the bottom of the axis.
    const bool zeroBased = minimum > 0.0f && minimum < range;
    const float span = zeroBased ? maximum : range;

    // 3. Grid step.
    gridStep_ = kGridSteps[std::size(kGridSteps) - 1];
    for (std::int16_t step : kGridSteps) {
        if (static_cast<float>(gridDensity_) * static_cast<float>(step) > span) {
            gridStep_ = step;
            break;
        }
    }
    const int step = gridStep_;

    // 4., 5. Axis ends, always a whole step beyond the values.
    const int top = static_cast<int>(maximum);
    axisMaximum_ = top + step - top % step;
    if (minimum == 0.0f || zeroBased) {
        axisMinimum_ = 0;
    } else {
        const int bottom = static_cast<int>(minimum);
        axisMinimum_ = bottom - step - bottom % step;
    }

    // 6. Value label width.
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(axisMaximum_));
    int labelWidth = surface.MeasureText(text).width;
    std::snprintf(text, sizeof text, "%d", static_cast<int>(axisMinimum_));
    labelWidth = std::max(labelWidth, surface.MeasureText(text).width);
    valueLabelWidth_ = graph::ToInt16(labelWidth);

    // 7. Scales. A plot too small for its labels has no room left: the scale is 0 rather than
    // negative, everything collapses onto the origin and nothing can be hit.
    const int usableWidth = std::max(0, plotWidth_ - valueLabelWidth_ - metrics_.leftMargin);
    const int usableHeight = std::max(0, plotHeight_ - columnLabelHeight_ - metrics_.bottomMargin -
                                             2 * metrics_.columnLabelGap);
    xScale_ = pointCount_ > 1 ? static_cast<float>(usableWidth) / static_cast<float>(pointCount_ - 1) : 0.0f;
    yScale_ = static_cast<float>(usableHeight) / static_cast<float>(axisMaximum_ - axisMinimum_);

    // 8. Origin: column 0 at the axis minimum.
    originX_ = graph::ToInt16(plotLeft_ + metrics_.leftMargin + valueLabelWidth_ + 2 * metrics_.valueLabelGap);
    originY_ = graph::ToInt16(plotTop_ + plotHeight_ - columnLabelHeight_ - metrics_.bottomMargin -
                              2 * metrics_.columnLabelGap);
}

int CGraphEngine::ColumnToX(int column) const {
    return originX_ + graph::Trunc(static_cast<float>(column) * xScale_);
}

int CGraphEngine::ValueToY(float value) const {
    return originY_ - graph::Trunc((value - static_cast<float>(axisMinimum_)) * yScale_);
}

int CGraphEngine::NearestColumn(int x) const {
    if (!(xScale_ > 0.0f)) return -1;
    const auto dx = static_cast<std::int16_t>(x - originX_);
    return graph::Trunc(static_cast<float>(dx) / xScale_ + 0.5f);
}

bool CGraphEngine::ColumnHit(int column, int x) const {
    if (!ValidColumn(column)) return false;
    const int distance = graph::Trunc(static_cast<float>(column) * xScale_ - static_cast<float>(x - originX_));
    return std::abs(distance) <= metrics_.hitTolerance;
}

int CGraphEngine::ClosestTrace(int column, int dy) const {
    if (!(yScale_ > 0.0f)) return -1;
    int best = -1;
    int bestDistance = 0;
    for (int i = 0; i < traceCount_; ++i) {
        if (!traces_[static_cast<std::size_t>(i)].visible) continue;
        const float value = PointAt(i, column).value;
        const int distance = std::abs(
            graph::Trunc((value - static_cast<float>(axisMinimum_)) * yScale_ - static_cast<float>(dy)));
        if (distance > metrics_.hitTolerance) continue;
        if (best < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace korvath
