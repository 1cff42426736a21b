#pragma once
// The main window's place in the settings file, read and written as integers.

#include <optional>

#include "platform/window_placement.h"

namespace korvath {

class SettingsStore;

// Nothing when no place was saved, or the saved size is not a size at all. The position is
// taken as it stands: pulling it onto a screen is the caller's part.
std::optional<WindowPlacement> LoadMainWindowPlacement(SettingsStore& settings);
void SaveMainWindowPlacement(SettingsStore& settings, const WindowPlacement& placement);

}  // namespace korvath
