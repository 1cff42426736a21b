#pragma once
// Where a top-level window goes on the screens there are: the first window fits a screen's free
// area, and a saved place is pulled back whole onto a screen that exists (screens come and go
// between runs, and a settings file may hold anything). Plain rectangles in the window system's
// logical pixels; the client rectangle is placed, the frame's margins are kept free around it.

#include <vector>

namespace korvath {

struct WindowRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const WindowRect&) const = default;
};

struct WindowSize {
    int width = 0;
    int height = 0;
};

// What the title bar and borders add around the client rectangle.
struct FrameMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct WindowPlacement {
    WindowRect normal;  // the client rectangle when the window is neither maximized nor minimized
    bool maximized = false;
};

// A screen's free area in logical pixels as the window system rounds it, cut to what whole device
// pixels hold at `devicePixelRatio`: 1000 device pixels at 1.5 are 666.7 logical ones, reported
// as 667, and a window 667 high would take 1001.
WindowRect WithinDevicePixels(const WindowRect& area, double devicePixelRatio);

// The first window: `preferred`, shrunk where the area is smaller, centred in `available`.
// `minimum` is kept unless the area itself is smaller: then the area wins, since a window
// reaching past the screen hides its status bar.
WindowRect FitFirstWindow(WindowSize preferred, WindowSize minimum, const WindowRect& available,
                          FrameMargins frame = {});

// A saved client rectangle on the screens' available areas: on the screen it belongs to (the one
// it overlaps most, else the nearest), shrunk to fit it (not below `minimum` unless the screen is
// smaller) and moved in whole. An empty rectangle gives the first window on the first screen (the
// primary one); with no screen known the rectangle stays (an empty one takes `preferred`).
WindowRect PullOntoScreen(const WindowRect& saved, WindowSize preferred, WindowSize minimum,
                          const std::vector<WindowRect>& screens, FrameMargins frame = {});

}  // namespace korvath
