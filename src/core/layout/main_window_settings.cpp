#include "layout/main_window_settings.h"

#include "platform/settings_keys.h"
#include "platform/settings_store.h"

namespace korvath {
namespace {
// Larger than any screen; a value past it is a damaged file, not a window.
constexpr int kLargestSide = 1 << 15;
constexpr int kFarthest = 1 << 20;

bool Plausible(const WindowRect& r) {
    return r.width > 0 && r.height > 0 && r.width <= kLargestSide && r.height <= kLargestSide && r.x >= -kFarthest &&
           r.x <= kFarthest && r.y >= -kFarthest && r.y <= kFarthest;
}
}  // namespace

std::optional<WindowPlacement> LoadMainWindowPlacement(SettingsStore& settings) {
    using namespace settings;
    WindowPlacement placement;
    placement.normal = {settings.GetInt(kMainWindow, kWindowLeft, 0), settings.GetInt(kMainWindow, kWindowTop, 0),
                        settings.GetInt(kMainWindow, kWindowWidth, 0), settings.GetInt(kMainWindow, kWindowHeight, 0)};
    if (!Plausible(placement.normal)) return std::nullopt;
    placement.maximized = settings.GetInt(kMainWindow, kWindowMaximized, 0) == 1;
    return placement;
}

void SaveMainWindowPlacement(SettingsStore& settings, const WindowPlacement& placement) {
    using namespace settings;
    settings.SetInt(kMainWindow, kWindowLeft, placement.normal.x);
    settings.SetInt(kMainWindow, kWindowTop, placement.normal.y);
    settings.SetInt(kMainWindow, kWindowWidth, placement.normal.width);
    settings.SetInt(kMainWindow, kWindowHeight, placement.normal.height);
    settings.SetInt(kMainWindow, kWindowMaximized, placement.maximized ? 1 : 0);
}

}  // namespace korvath
