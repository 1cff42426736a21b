// CGraphEngine: construction, the data setters and the selection rules.

#include "graph/graphengine.h"

#include <algorithm>
#include <cstdio>

#include "graph/graphmath.h"

namespace korvath {

CGraphEngine::CGraphEngine(std::int16_t traceCount, std::int16_t pointCount) {
    if (traceCount < 1 || pointCount < 2) {
        traceCount = 0;
        pointCount = 0;
    }
    traceCount_ = traceCount;
    pointCount_ = pointCount;
    points_.assign(static_cast<std::size_t>(traceCount) * static_cast<std::size_t>(pointCount), Point{});
    traces_.assign(static_cast<std::size_t>(traceCount), Trace{});
    overlays_.assign(static_cast<std::size_t>(traceCount), Overlay{});
    overlayValues_.assign(points_.size(), 0.0f);
    for (int i = 0; i < traceCount; ++i) {
        Trace& t = traces_[static_cast<std::size_t>(i)];
        t.link = static_cast<std::int16_t>(i);
        t.color = graph::kDefaultPalette[i % 20];
    }
    labels_.assign(static_cast<std::size_t>(pointCount), Label{});
    for (int i = 0; i < pointCount; ++i) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", 0.0 + 1.0 * i);
        std::snprintf(labels_[static_cast<std::size_t>(i)].text, sizeof(Label::text), "%.6s", text);
    }
    calloutText_.resize(256);
}

CGraphEngine::~CGraphEngine() = default;

void CGraphEngine::SetPlotRect(std::int16_t left, std::int16_t top, std::int16_t width, std::int16_t height,
                               const GraphMetrics* metrics) {
    plotLeft_ = left;
    plotTop_ = top;
    plotWidth_ = width;
    plotHeight_ = height;
    if (metrics != nullptr) metrics_ = *metrics;
}

void CGraphEngine::MeasureColumnLabels(DrawSurface& surface) {
    int width = 0;
    int height = 0;
    for (const Label& label : labels_) {
        const TextSize size = surface.MeasureText(label.text);
        width = std::max(width, size.width);
        height = std::max(height, size.height);
    }
    columnLabelWidth_ = static_cast<std::int16_t>(std::min(width, 32767));
    columnLabelHeight_ = static_cast<std::int16_t>(std::min(height, 32767));
}

void CGraphEngine::SetTraceValues(int trace, const float* values) {
    if (!ValidTrace(trace) || values == nullptr) return;
    for (int c = 0; c < pointCount_; ++c) PointRef(trace, c).value = values[c];
    UpdateTraceRange(trace);
}

void CGraphEngine::SetPointValue(int trace, int column, float value) {
    if (!ValidTrace(trace) || !ValidColumn(column)) return;
    PointRef(trace, column).value = value;
}

void CGraphEngine::UpdateTraceRange(int trace) {
    if (!ValidTrace(trace)) return;
    Trace& t = traces_[static_cast<std::size_t>(trace)];
    t.minimum = t.maximum = PointRef(trace, 0).value;
    for (int c = 1; c < pointCount_; ++c) {
        const float v = PointRef(trace, c).value;
        t.minimum = std::min(t.minimum, v);
        t.maximum = std::max(t.maximum, v);
    }
}

int CGraphEngine::SetTraceVisible(int trace, int flag) {
    // A negative index is a caller's mistake; like an index past the end it changes nothing.
    if (!ValidTrace(trace)) return flag;
    Trace& t = traces_[static_cast<std::size_t>(trace)];
    t.visible = static_cast<std::uint8_t>(flag);
    if (!t.visible) {
        for (int c = 0; c < pointCount_; ++c) PointRef(trace, c).selected = 0;
        t.hasSelection = 0;
    }
    return t.visible;
}

void CGraphEngine::SetTraceColor(int trace, Color color) {
    if (!ValidTrace(trace)) return;
    traces_[static_cast<std::size_t>(trace)].color = color;
}

void CGraphEngine::SetTraceText(int trace, std::string_view name, std::string_view calloutFormat) {
    if (!ValidTrace(trace)) return;
    Trace& t = traces_[static_cast<std::size_t>(trace)];
    const std::size_t nameLength = std::min(name.size(), graph::kNameLength);
    name.copy(t.name, nameLength);
    t.name[nameLength] = '\0';
    const std::size_t formatLength = std::min(calloutFormat.size(), graph::kCalloutFormatLength);
    calloutFormat.copy(t.calloutFormat, formatLength);
    t.calloutFormat[formatLength] = '\0';
}

int CGraphEngine::SetTraceLink(int trace, int target) {
    if (!ValidTrace(trace)) return -1;
    Trace& t = traces_[static_cast<std::size_t>(trace)];
    if (target == graph::kLinkToSelf) {
        t.link = static_cast<std::int16_t>(trace);
    } else if (ValidTrace(target)) {
        t.link = static_cast<std::int16_t>(target);
    }
    return t.link;
}

int CGraphEngine::SetLinking(int flag) {
    if (flag != graph::kLinkingQuery) linking_ = static_cast<std::uint8_t>(flag);
    return linking_;
}

void CGraphEngine::GetSize(std::int16_t& traceCount, std::int16_t& pointCount) const {
    traceCount = traceCount_;
    pointCount = pointCount_;
}

int CGraphEngine::SetCrosshair(float x, float y) {
    if (!(featureFlags_ & graph::kCrosshairEnabled)) {
        crosshairX_ = crosshairY_ = graph::kHidden;
        return 0;
    }
    if (x != graph::kHidden) {
        const bool xSame = x == crosshairX_ || x == graph::kKeepCoordinate;
        const bool ySame = y == crosshairY_ || y == graph::kKeepCoordinate;
        if (xSame && ySame) return 0;
        if (x != graph::kKeepCoordinate) crosshairX_ = x;
        if (y != graph::kKeepCoordinate) crosshairY_ = y;
        return 1;
    }
    if (crosshairX_ == graph::kHidden) return 0;
    crosshairX_ = crosshairY_ = graph::kHidden;
    return 1;
}

void CGraphEngine::RequestCallout(int trace, int column) {
    if (featureFlags_ & graph::kCalloutEnabled) {
        calloutTrace_ = static_cast<std::int16_t>(trace);
        calloutColumn_ = static_cast<std::int16_t>(column);
    } else {
        calloutTrace_ = calloutColumn_ = -1;
    }
}

std::string CGraphEngine::PointStatusText(int trace, int column) const {
    if (!ValidTrace(trace) || !ValidColumn(column)) return {};
    const Point& point = PointAt(trace, column);
    const int stored = callback_ != nullptr
                           ? callback_->StoredPointValue(static_cast<std::int16_t>(trace), static_cast<std::int16_t>(column))
                           : graph::Trunc(point.value + 0.5f);
    char value[32];
    std::snprintf(value, sizeof value, "%.4g", static_cast<double>(point.value));
    return std::string(traces_[static_cast<std::size_t>(trace)].name) + ", column " + ColumnLabel(column) + ": " + value +
           " (stored " + std::to_string(stored) + ")";
}

void CGraphEngine::SetPointSelected(int trace, int column, int flag) {
    if (!ValidTrace(trace) || !ValidColumn(column)) return;
    const auto selected = static_cast<std::uint8_t>(flag);
    PointRef(trace, column).selected = selected;
    if (!linking_) return;
    // A chain ends at a trace linked to itself or when it comes back to `trace`. Links may also
    // form a loop that never passes `trace` again; no chain is longer than the trace count.
    int n = traces_[static_cast<std::size_t>(trace)].link;
    for (int steps = 0; n != trace && steps < traceCount_; ++steps) {
        if (traces_[static_cast<std::size_t>(n)].visible) PointRef(n, column).selected = selected;
        const int next = traces_[static_cast<std::size_t>(n)].link;
        if (next == n) break;
        n = next;
    }
}

void CGraphEngine::ClearSelection() {
    for (Point& p : points_) p.selected = 0;
    multipleSelection_ = 0;
}

void CGraphEngine::Normalize(int anchor, bool shift) {
    multipleSelection_ = 0;
    int first = anchor;
    int last = anchor;
    for (int i = 0; i < traceCount_; ++i) {
        Trace& t = traces_[static_cast<std::size_t>(i)];
        t.hasSelection = 0;
        for (int j = 0; j < pointCount_; ++j) {
            Point& p = PointRef(i, j);
            if (!t.visible) p.selected = 0;
            if (!p.selected) continue;
            t.hasSelection = 1;
            last = std::max(last, j);
            first = std::min(first, j);
            if (i != activeTrace_ || j != anchor) multipleSelection_ = 1;
        }
    }
    if (!shift) return;
    first = std::max(first, 0);
    last = std::min(last, pointCount_ - 1);
    for (int i = 0; i < traceCount_; ++i) {
        if (!traces_[static_cast<std::size_t>(i)].hasSelection) continue;
        for (int j = first; j <= last; ++j) PointRef(i, j).selected = 1;
    }
}

}  // namespace korvath
