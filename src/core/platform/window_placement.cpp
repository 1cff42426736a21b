#include "platform/window_placement.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace korvath {
namespace {

// Saved values come from a file: the arithmetic runs wide so that no value can overflow it.
using Wide = std::int64_t;

struct Span {
    Wide low;
    Wide high;  // exclusive
};

Wide Overlap(Span a, Span b) { return std::max<Wide>(0, std::min(a.high, b.high) - std::max(a.low, b.low)); }

// How far a span lies outside another one (0 when they touch or overlap).
Wide Gap(Span a, Span b) { return std::max<Wide>({0, b.low - a.high, a.low - b.high}); }

Span Horizontal(const WindowRect& r) { return {r.x, Wide{r.x} + std::max(0, r.width)}; }
Span Vertical(const WindowRect& r) { return {r.y, Wide{r.y} + std::max(0, r.height)}; }

// The client area a screen leaves once the frame's margins are kept free.
WindowRect ClientArea(const WindowRect& available, FrameMargins frame) {
    return {available.x + frame.left, available.y + frame.top,
            std::max(0, available.width - frame.left - frame.right),
            std::max(0, available.height - frame.top - frame.bottom)};
}

// `wanted`, at least `minimum`, at most `room`.
int FitLength(Wide wanted, int minimum, int room) {
    return static_cast<int>(std::min<Wide>(std::max<Wide>(wanted, minimum), room));
}

// The start that keeps [start, start + length) inside [low, low + room).
int MoveInside(Wide start, int length, int low, int room) {
    return static_cast<int>(std::clamp<Wide>(start, low, Wide{low} + room - length));
}

// The screen a rectangle belongs to; -1 when there is none.
int ScreenOf(const WindowRect& rect, const std::vector<WindowRect>& screens) {
    int best = -1;
    Wide bestOverlap = 0;
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const Wide overlap = Overlap(Horizontal(rect), Horizontal(screens[i])) *
                             Overlap(Vertical(rect), Vertical(screens[i]));
        if (overlap > bestOverlap) {
            bestOverlap = overlap;
            best = static_cast<int>(i);
        }
    }
    if (best >= 0) return best;
    // Squares of gaps of 2^32 would overflow 64 bits: the distance is compared as a double.
    double bestDistance = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const auto dx = static_cast<double>(Gap(Horizontal(rect), Horizontal(screens[i])));
        const auto dy = static_cast<double>(Gap(Vertical(rect), Vertical(screens[i])));
        const double distance = dx * dx + dy * dy;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return best;
}

}  // namespace

WindowRect FitFirstWindow(WindowSize preferred, WindowSize minimum, const WindowRect& available,
                          FrameMargins frame) {
    const WindowRect area = ClientArea(available, frame);
    const int width = FitLength(preferred.width, minimum.width, area.width);
    const int height = FitLength(preferred.height, minimum.height, area.height);
    return {area.x + (area.width - width) / 2, area.y + (area.height - height) / 2, width, height};
}

WindowRect PullOntoScreen(const WindowRect& saved, WindowSize preferred, WindowSize minimum,
                          const std::vector<WindowRect>& screens, FrameMargins frame) {
    if (screens.empty()) return saved.width > 0 && saved.height > 0 ? saved : WindowRect{0, 0, preferred.width, preferred.height};
    if (saved.width <= 0 || saved.height <= 0) return FitFirstWindow(preferred, minimum, screens.front(), frame);
    const int screen = ScreenOf(saved, screens);
    const WindowRect area = ClientArea(screens[static_cast<std::size_t>(screen)], frame);
    const int width = FitLength(saved.width, minimum.width, area.width);
    const int height = FitLength(saved.height, minimum.height, area.height);
    return {MoveInside(saved.x, width, area.x, area.width), MoveInside(saved.y, height, area.y, area.height), width,
            height};
}

WindowRect WithinDevicePixels(const WindowRect& area, double devicePixelRatio) {
    WindowRect cut = area;
    if (!(devicePixelRatio > 0)) return cut;
    // A length whose device size is not whole may have been rounded up: one logical pixel less
    // is always inside.
    const auto whole = [devicePixelRatio](int length) {
        const double device = length * devicePixelRatio;
        return device == std::floor(device) || length <= 0 ? length : length - 1;
    };
    cut.width = whole(area.width);
    cut.height = whole(area.height);
    return cut;
}

}  // namespace korvath
