// CGraphEngine: axes, traces, the crosshair and the callout.

#include <algorithm>
#include <cstdio>

#include "graph/calloutformat.h"
#include "graph/graphengine.h"
#include "graph/graphmath.h"

namespace korvath {
namespace {

constexpr Color kCrosshairRingColor = 0x0000FF;  // red
constexpr int kCrosshairArmWidth = 5;
constexpr int kCrosshairArmInset = 8;   // arms start this far inside the ring
constexpr int kCrosshairArmLength = 40;  // and reach this far outside it

Pen SolidPen(int width, Color color) { return Pen{PenStyle::Solid, width, color, PenCap::Round}; }

}  // namespace

void CGraphEngine::Draw(DrawSurface& surface) {
    ComputeLayout(surface);
    DrawAxes(surface);
    DrawOverlays(surface);
    for (int i = traceCount_ - 1; i >= 0; --i) {
        if (i == activeTrace_ || !traces_[static_cast<std::size_t>(i)].visible) continue;
        DrawTrace(surface, i);
    }
    if (Visible(activeTrace_)) DrawTrace(surface, activeTrace_);
}

void CGraphEngine::DrawAxes(DrawSurface& surface) {
    const int lastX = graph::Trunc(static_cast<float>(pointCount_ - 1) * xScale_);
    const int axisTop = originY_ - graph::Trunc(static_cast<float>(axisMaximum_ - axisMinimum_) * yScale_);
    const int plotBottom = plotTop_ + plotHeight_;

    surface.SetPen(SolidPen(1, panelColor_));
    if (featureFlags_ & graph::kFillPanels) {
        surface.SetBrush(panelColor_);
        surface.DrawRectangle(plotLeft_, originY_ + metrics_.gridPenWidth,
                              originX_ + std::max(lastX, 0) + columnLabelWidth_, plotBottom);
        surface.DrawRectangle(plotLeft_, plotTop_ - columnLabelHeight_ / 2 - metrics_.valueLabelGap, originX_,
                              plotBottom);
    }

    surface.SetTextColor(labelTextColor_);
    surface.SetTextBackground(false, backgroundColor_);
    surface.SetTextAlign(HAlign::Center, VAlign::Top);
    const Pen gridPen = SolidPen(metrics_.gridPenWidth, gridColor_);
    surface.SetPen(gridPen);

    const int columnStep = std::max<int>(columnLabelStep_, 1);
    for (int c = 0; c < pointCount_; c += columnStep) {
        const int x = ColumnToX(c);
        if (featureFlags_ & graph::kVerticalGrid) surface.DrawLine(x, originY_ + metrics_.bottomMargin, x, axisTop);
        if (featureFlags_ & graph::kColumnLabels) {
            surface.DrawText(x, originY_ + metrics_.bottomMargin + metrics_.columnLabelGap, ColumnLabel(c));
        }
    }

    surface.SetTextAlign(HAlign::Left, VAlign::Bottom);
    const int lines = (axisMaximum_ - axisMinimum_) / gridStep_;
    char text[16];
    for (int k = 0; k <= lines; ++k) {
        const int y = originY_ - graph::Trunc(static_cast<float>(k) * yScale_ * static_cast<float>(gridStep_));
        if (featureFlags_ & graph::kHorizontalGrid) {
            surface.DrawLine(originX_ - metrics_.leftMargin, y, originX_ + metrics_.gridPenWidth + lastX, y);
        }
        if (featureFlags_ & graph::kValueLabels) {
            std::snprintf(text, sizeof text, "%d", static_cast<int>(gridStep_ * k + axisMinimum_));
            surface.DrawText(plotLeft_ + metrics_.valueLabelGap, y + columnLabelHeight_ / 2, text);
        }
    }
}

void CGraphEngine::DrawMarker(DrawSurface& surface, int trace, int x, int y) {
    const int r = metrics_.markerRadius;
    surface.SetPen(SolidPen(metrics_.markerPenWidth, traces_[static_cast<std::size_t>(trace)].color));
    surface.SetBrush(markerFillColor_);
    surface.DrawEllipse(x - r, y - r, x + r, y + r);
}

void CGraphEngine::DrawTrace(DrawSurface& surface, int trace) {
    const Pen tracePen{PenStyle::Solid, metrics_.tracePenWidth, traces_[static_cast<std::size_t>(trace)].color,
                       PenCap::Round};
    surface.SetPen(tracePen);
    int previousX = ColumnToX(0);
    int previousY = ValueToY(PointAt(trace, 0).value);
    for (int i = 1; i < pointCount_; ++i) {
        const int x = ColumnToX(i);
        const int y = ValueToY(PointAt(trace, i).value);
        surface.DrawLine(previousX, previousY, x, y);
        if (PointAt(trace, i - 1).selected) {
            DrawMarker(surface, trace, previousX, previousY);
            surface.SetPen(tracePen);
        }
        previousX = x;
        previousY = y;
    }
    if (PointAt(trace, pointCount_ - 1).selected) DrawMarker(surface, trace, previousX, previousY);
}

void CGraphEngine::CrosshairCentre(float x, float y, int& cx, int& cy) const {
    cx = graph::Trunc(xScale_ * x) + originX_;
    cy = originY_ - graph::Trunc((y - static_cast<float>(axisMinimum_)) * yScale_);
}

int CGraphEngine::DrawCrosshair(DrawSurface& surface) {
    if (crosshairX_ <= -1.0f) return 0;
    int cx = 0, cy = 0;
    CrosshairCentre(crosshairX_, crosshairY_, cx, cy);
    const int r = metrics_.crosshairRadius;

    // The disc inverts whatever lies under it.
    const bool previousXor = surface.SetXorMode(true);
    surface.SetPen(SolidPen(metrics_.crosshairPenWidth, backgroundColor_));
    surface.SetBrush(backgroundColor_);
    surface.DrawEllipse(cx - r + 1, cy - r + 1, cx + r - 1, cy + r - 1);
    surface.SetXorMode(previousXor);

    surface.SetPen(Pen{PenStyle::Dot, kCrosshairArmWidth, crosshairLineColor_, PenCap::Square});
    const int in = kCrosshairArmInset;
    const int out = kCrosshairArmLength;
    surface.DrawLine(cx + r - in, cy, cx + r + out, cy);
    surface.DrawLine(cx - r + in, cy, cx - r - out, cy);
    surface.DrawLine(cx, cy + r - in, cx, cy + r + out);
    surface.DrawLine(cx, cy - r + in, cx, cy - r - out);

    surface.SetPen(SolidPen(metrics_.crosshairPenWidth, kCrosshairRingColor));
    surface.SetNoBrush();
    surface.DrawEllipse(cx - r, cy - r, cx + r, cy + r);
    return 1;
}

bool CGraphEngine::CrosshairBounds(int& left, int& top, int& right, int& bottom) const {
    if (crosshairX_ <= -1.0f) return false;
    int cx = 0, cy = 0;
    CrosshairCentre(crosshairX_, crosshairY_, cx, cy);
    // The arms' square caps and the ring's pen reach past their lines by up to a pen width.
    const int reach = metrics_.crosshairRadius + kCrosshairArmLength + kCrosshairArmWidth + metrics_.crosshairPenWidth;
    left = cx - reach;
    top = cy - reach;
    right = cx + reach + 1;
    bottom = cy + reach + 1;
    return true;
}

int CGraphEngine::DrawCallout(DrawSurface& surface) {
    const int t = calloutTrace_;
    const int c = calloutColumn_;
    // The callout stays through paints that no input caused (the crosshair and its trail repaint
    // ten times a second while the car drives); the next input clears it, and every interaction
    // that wants it asks again.
    if (t < 0) return 0;
    if (!ValidTrace(t) || !ValidColumn(c)) {
        ClearCallout();
        return 0;
    }

    const Point& point = PointAt(t, c);
    const int stored = callback_ != nullptr
                           ? callback_->StoredPointValue(static_cast<std::int16_t>(t), static_cast<std::int16_t>(c))
                           : graph::Trunc(point.value + 0.5f);
    const int rounded = (stored + 5) / 10 * 10;
    const char* format = traces_[static_cast<std::size_t>(t)].calloutFormat;
    int length = FormatCallout(calloutText_.data(), calloutText_.size(), format, ColumnLabel(c), point.value,
                               rounded, stored);
    if (length > 0 && static_cast<std::size_t>(length) >= calloutText_.size()) {
        calloutText_.resize(static_cast<std::size_t>(length) + 1);
        length = FormatCallout(calloutText_.data(), calloutText_.size(), format, ColumnLabel(c), point.value,
                               rounded, stored);
    }
    if (length <= 0) {
        ClearCallout();
        return 0;
    }
    const std::string_view text(calloutText_.data(), static_cast<std::size_t>(length));

    const int w = surface.MeasureText(text).width;
    const int anchorX = originX_ + metrics_.columnLabelGap + w;
    const int x = ColumnToX(c);
    const int y = ValueToY(point.value);
    surface.SetBrush(markerFillColor_);
    surface.SetPen(SolidPen(metrics_.tracePenWidth + 1, calloutBackgroundColor_));
    surface.DrawLine(anchorX, plotTop_, x, y);
    surface.SetPen(SolidPen(metrics_.gridPenWidth, calloutTextColor_));
    surface.DrawLine(x, y, anchorX, plotTop_);
    if (point.selected) DrawMarker(surface, t, x, y);

    surface.SetTextAlign(HAlign::Left, VAlign::Bottom);
    surface.SetTextColor(calloutTextColor_);
    surface.SetTextBackground(true, calloutBackgroundColor_);
    surface.DrawText(originX_ + metrics_.columnLabelGap, plotTop_, text);
    return 1;
}

}  // namespace korvath
