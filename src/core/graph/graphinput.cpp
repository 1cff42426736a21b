// CGraphEngine: mouse and keyboard input, value changes and the keyboard cursor.

#include <algorithm>
#include <cstdlib>

#include "graph/graphengine.h"
#include "graph/graphmath.h"

namespace korvath {
namespace {

constexpr float kDragMinimum = -32768.0f;
constexpr float kDragMaximum = 32767.0f;
constexpr int kOwnMaximum = 32767;  // without a callback values move within 0 ... 32767
constexpr int kShiftStepFactor = 5;

}  // namespace

float CGraphEngine::ChangePointValue(int trace, int column, float value, std::int16_t& delta) {
    if (callback_ != nullptr) {
        return callback_->OnPointEdited(static_cast<std::int16_t>(trace), static_cast<std::int16_t>(column), value,
                                        delta);
    }
    const int n = std::clamp(graph::Trunc(value) + delta, 0, kOwnMaximum);
    delta = graph::ToInt16(n - graph::Trunc(PointAt(trace, column).value + 0.5f));
    return static_cast<float>(n);
}

int CGraphEngine::OnButtonDown(int modifiers, int x, int y) {
    ClearCallout();
    // 1. Column under the mouse, within the horizontal tolerance.
    const int c = NearestColumn(x);
    if (!ColumnHit(c, x)) {
        dragColumn_ = -1;
        return 0;
    }
    // 2. Value under the mouse.
    const auto dy = static_cast<std::int16_t>(originY_ - y);
    dragValue_ = static_cast<float>(dy) / yScale_ + static_cast<float>(axisMinimum_);
    // 3. The visible trace closest vertically.
    const int hit = ClosestTrace(c, dy);
    if (hit < 0) {
        dragColumn_ = -1;
        return 0;
    }
    // 4. Where points coincide, the active trace keeps the grab.
    if (activeTrace_ < 0 || PointAt(activeTrace_, c).value != PointAt(hit, c).value || !Visible(activeTrace_)) {
        activeTrace_ = static_cast<std::int16_t>(hit);
    }
    const int active = activeTrace_;
    // 5. A plain click on an unselected point starts a new selection.
    if (modifiers == 0 && !PointAt(active, c).selected) ClearSelection();
    // 6. Select, or with Ctrl alone unselect without a drag.
    if (!PointAt(active, c).selected) {
        SetPointSelected(active, c, 1);
        dragColumn_ = static_cast<std::int16_t>(c);
    } else if (modifiers == graph::kCtrl) {
        SetPointSelected(active, c, 0);
        dragColumn_ = -1;
    } else {
        dragColumn_ = static_cast<std::int16_t>(c);
    }
    // 7. Normalise; Shift fills the blocks between the outermost selected columns.
    const bool shift = (modifiers & graph::kShift) != 0;
    if (shift) SetPointSelected(active, c, 1);
    Normalize(c, shift);
    // 8. Keep the grab offset so that the point does not jump to the mouse.
    dragOffset_ = graph::ToInt16(graph::Trunc(
        (PointAt(active, c).value - static_cast<float>(axisMinimum_)) * yScale_ - static_cast<float>(dy)));
    cursorColumn_ = static_cast<std::int16_t>(c);
    RequestCallout(active, c);
    return 1;
}

int CGraphEngine::OnMouseMove(int held, int x, int y) {
    ClearCallout();
    if (!held) {
        const int c = NearestColumn(x);
        if (!ColumnHit(c, x)) return 0;
        int trace = ClosestTrace(c, static_cast<std::int16_t>(originY_ - y));
        if (trace < 0) return 0;
        if (Visible(activeTrace_) && PointAt(activeTrace_, c).value == PointAt(trace, c).value) trace = activeTrace_;
        RequestCallout(trace, c);
        return 0;
    }
    if (dragColumn_ < 0 || activeTrace_ < 0) return 0;

    const int active = activeTrace_;
    const int column = dragColumn_;
    dragValue_ = static_cast<float>(originY_ - y + dragOffset_) / yScale_ + static_cast<float>(axisMinimum_);
    if (!(dragValue_ == dragValue_)) dragValue_ = 0.0f;
    dragValue_ = std::clamp(dragValue_, kDragMinimum, kDragMaximum);
    std::int16_t delta = 0;
    PointRef(active, column).value = ChangePointValue(active, column, dragValue_, delta);
    if (multipleSelection_ && delta != 0) {
        // The other selected points move by the same number of steps.
        for (int i = 0; i < traceCount_; ++i) {
            if (!traces_[static_cast<std::size_t>(i)].hasSelection) continue;
            for (int j = 0; j < pointCount_; ++j) {
                Point& p = PointRef(i, j);
                if (!p.selected || (i == active && j == column)) continue;
                p.value = ChangePointValue(i, j, p.value, delta);
            }
        }
    }
    // The trace ranges stay as they were until the button is released, so the axis does not
    // move under the mouse.
    RequestCallout(active, column);
    return 1;
}

int CGraphEngine::OnButtonUp() {
    ClearCallout();
    if (dragColumn_ >= 0) {
        dragColumn_ = -1;
        for (int i = 0; i < traceCount_; ++i) {
            if (traces_[static_cast<std::size_t>(i)].hasSelection) UpdateTraceRange(i);
        }
    }
    return 1;
}

void CGraphEngine::OnKey(int key, int count, int modifiers) {
    ClearCallout();
    if (traceCount_ == 0) return;
    if (key == graph::kKeyHome || key == graph::kKeyEnd) count = pointCount_ - 1;
    switch (key) {
    case graph::kKeySpace:
        if (activeTrace_ >= 0 && cursorColumn_ >= 0 && multipleSelection_) {
            SetPointSelected(activeTrace_, cursorColumn_, PointAt(activeTrace_, cursorColumn_).selected ? 0 : 1);
        }
        return;
    case graph::kKeyPageUp:
    case graph::kKeyPageDown: {
        // Step through the trace indexes to the next visible trace; without one before the end
        // of the index range the active trace stays.
        const int step = key == graph::kKeyPageUp ? count : -count;
        if (step != 0) {
            for (long i = static_cast<long>(activeTrace_) + step; i >= 0 && i < traceCount_; i += step) {
                if (traces_[static_cast<std::size_t>(i)].visible) {
                    activeTrace_ = static_cast<std::int16_t>(i);
                    break;
                }
            }
        }
        activeTrace_ = static_cast<std::int16_t>(std::clamp<int>(activeTrace_, 0, traceCount_ - 1));
        MoveCursor(0, modifiers);
        return;
    }
    case graph::kKeyEnd:
    case graph::kKeyRight:
        MoveCursor(count, modifiers);
        break;
    case graph::kKeyHome:
    case graph::kKeyLeft:
        MoveCursor(-count, modifiers);
        break;
    case graph::kKeyUp:
    case graph::kKeyDown: {
        int steps = key == graph::kKeyUp ? count : -count;
        if (modifiers & graph::kShift) steps *= kShiftStepFactor;
        std::int16_t delta = graph::ToInt16(steps);
        for (int i = 0; i < traceCount_; ++i) {
            for (int j = 0; j < pointCount_; ++j) {
                Point& p = PointRef(i, j);
                if (p.selected) p.value = ChangePointValue(i, j, p.value, delta);
            }
            UpdateTraceRange(i);
        }
        break;
    }
    default:
        return;
    }
    if (Visible(activeTrace_) && cursorColumn_ >= 0) RequestCallout(activeTrace_, cursorColumn_);
}

void CGraphEngine::MoveCursor(int step, int modifiers) {
    // 1. An active trace: the first visible one when none is active yet.
    if (activeTrace_ < 0) {
        for (int i = 0; i < traceCount_; ++i) {
            if (traces_[static_cast<std::size_t>(i)].visible) {
                activeTrace_ = static_cast<std::int16_t>(i);
                break;
            }
        }
        if (activeTrace_ < 0) return;
    }
    const int active = activeTrace_;
    // 2. Start column: the cursor, or before the cursor was ever set, the edge of the selection
    // in the direction of travel.
    int start = cursorColumn_;
    if (start < 0) {
        bool previousUnselected = false;
        if (step < 0) {
            start = pointCount_;
            for (int j = 0; j < pointCount_; ++j) {
                const bool selected = PointAt(active, j).selected != 0;
                if (selected && previousUnselected) {
                    start = j == pointCount_ - 1 ? 0 : j;
                    break;
                }
                previousUnselected = !selected;
            }
        } else {
            start = -1;
            for (int j = pointCount_ - 1; j >= 0; --j) {
                const bool selected = PointAt(active, j).selected != 0;
                if (selected && previousUnselected) {
                    start = j == 0 ? pointCount_ - 1 : j;
                    break;
                }
                previousUnselected = !selected;
            }
        }
    }
    // 3. A plain cursor key moves a one-point selection.
    if (modifiers == 0) ClearSelection();
    // 4., 5. Move, select, normalise.
    cursorColumn_ = static_cast<std::int16_t>(std::clamp(start + step, 0, pointCount_ - 1));
    SetPointSelected(active, cursorColumn_, 1);
    Normalize(cursorColumn_, (modifiers & graph::kShift) != 0);
}

}  // namespace korvath
