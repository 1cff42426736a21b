#include "platform/window_placement.h"

#include <gtest/gtest.h>

#include <climits>

namespace korvath {
namespace {

constexpr WindowSize kPreferred{980, 700};
constexpr WindowSize kMinimum{450, 450};
// 1600 x 1000 at a scale of 1.5, a 30-pixel panel at the top; a second screen to its right.
constexpr WindowRect kLaptop{0, 30, 1066, 636};
constexpr WindowRect kRight{1066, 0, 1920, 1080};

TEST(FirstWindow, FitsTheFreeAreaCentredAndKeepsItsSizeWhereThereIsRoom) {
    EXPECT_EQ(FitFirstWindow(kPreferred, kMinimum, kLaptop), (WindowRect{43, 30, 980, 636}));
    EXPECT_EQ(FitFirstWindow(kPreferred, kMinimum, kRight), (WindowRect{1536, 190, 980, 700}));
    // The frame's title bar and borders stay on the screen too.
    EXPECT_EQ(FitFirstWindow(kPreferred, kMinimum, kLaptop, {4, 28, 4, 4}), (WindowRect{43, 58, 980, 604}));
    // A screen smaller than the smallest window: the screen wins.
    EXPECT_EQ(FitFirstWindow(kPreferred, kMinimum, {0, 0, 533, 400}), (WindowRect{0, 0, 533, 400}));
}

TEST(SavedPlace, PulledWholeOntoTheScreenItBelongsTo) {
    const std::vector<WindowRect> screens{kLaptop, kRight};
    // On a screen: kept exactly.
    EXPECT_EQ(PullOntoScreen({1200, 100, 800, 600}, kPreferred, kMinimum, screens), (WindowRect{1200, 100, 800, 600}));
    // Hanging over the right edge of the right screen: moved in.
    EXPECT_EQ(PullOntoScreen({2700, 500, 800, 700}, kPreferred, kMinimum, screens), (WindowRect{2186, 380, 800, 700}));
    // The right screen is gone: onto the laptop, shrunk to its height.
    EXPECT_EQ(PullOntoScreen({1200, 100, 800, 900}, kPreferred, kMinimum, {kLaptop}), (WindowRect{266, 30, 800, 636}));
    // Too large for any screen: the whole of the one it covers most.
    EXPECT_EQ(PullOntoScreen({-5000, -5000, 9000, 9000}, kPreferred, kMinimum, screens), kRight);
    // Saved smaller than the smallest window (an edited file): grown to it.
    EXPECT_EQ(PullOntoScreen({100, 100, 20, 20}, kPreferred, kMinimum, screens), (WindowRect{100, 100, 450, 450}));
}

TEST(SavedPlace, NothingSavedOrNoScreenOrExtremeValues) {
    const std::vector<WindowRect> screens{kLaptop, kRight};
    EXPECT_EQ(PullOntoScreen({}, kPreferred, kMinimum, screens), FitFirstWindow(kPreferred, kMinimum, kLaptop));
    EXPECT_EQ(PullOntoScreen({5, 6, 700, 500}, kPreferred, kMinimum, {}), (WindowRect{5, 6, 700, 500}));
    EXPECT_EQ(PullOntoScreen({}, kPreferred, kMinimum, {}), (WindowRect{0, 0, 980, 700}));
    // Values no arithmetic on ints could hold.
    EXPECT_EQ(PullOntoScreen({INT_MAX, INT_MAX, INT_MAX, INT_MAX}, kPreferred, kMinimum, screens), kRight);
    EXPECT_EQ(PullOntoScreen({INT_MIN, INT_MIN, INT_MAX, 1}, kPreferred, kMinimum, screens), (WindowRect{1066, 0, 1920, 450}));
}

// At 1.5 a 1600x1000 screen is 1066.7x666.7 logical pixels, reported rounded up: the area is cut
// to what whole device pixels hold, and a window fitted to it stays on the screen.
TEST(FirstWindow, FitsInWholeDevicePixelsOfAScaledScreen) {
    const WindowRect reported{0, 0, 1067, 667};
    const WindowRect area = WithinDevicePixels(reported, 1.5);
    EXPECT_EQ(area, (WindowRect{0, 0, 1066, 666}));
    const WindowRect first = FitFirstWindow({980, 700}, {400, 300}, area);
    EXPECT_LE((first.y + first.height) * 1.5, 1000.0);
    EXPECT_EQ(WithinDevicePixels({0, 0, 800, 600}, 1.0), (WindowRect{0, 0, 800, 600}));
    EXPECT_EQ(WithinDevicePixels({0, 0, 1280, 720}, 1.5), (WindowRect{0, 0, 1280, 720}));  // whole already
}

}  // namespace
}  // namespace korvath
