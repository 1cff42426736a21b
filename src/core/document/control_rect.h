#pragma once
// A run-time control's rectangle in its window's pixels, as the tuning bar, the dashboard and the
// settings pages lay them out (right and bottom are outside).

namespace korvath {

struct ControlRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const ControlRect&) const = default;
};

}  // namespace korvath
