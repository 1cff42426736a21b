#include "document/main_window_settings.h"

#include <gtest/gtest.h>

#include "support/recording_host.h"

namespace korvath {
namespace {

using testing::MemorySettings;

TEST(MainWindowSettings, SavedPlaceAndMaximizedStateComeBack) {
    MemorySettings settings;
    EXPECT_FALSE(LoadMainWindowPlacement(settings).has_value());
    SaveMainWindowPlacement(settings, {{-1200, 40, 900, 650}, true});
    EXPECT_EQ(settings.GetInt("MainWindow", "Width", 0), 900);
    const auto placement = LoadMainWindowPlacement(settings);
    ASSERT_TRUE(placement.has_value());
    EXPECT_EQ(placement->normal, (WindowRect{-1200, 40, 900, 650}));
    EXPECT_TRUE(placement->maximized);
    settings.SetInt("MainWindow", "Maximized", 2);  // only exactly 1 means maximized
    EXPECT_FALSE(LoadMainWindowPlacement(settings)->maximized);
}

TEST(MainWindowSettings, AnEditedFileWithNoSizeOrWildValuesIsNoPlace) {
    for (const char* key : {"Width", "Height", "Left", "Top"}) {
        MemorySettings settings;
        SaveMainWindowPlacement(settings, {{10, 10, 800, 600}, false});
        settings.SetString("MainWindow", key, key[0] == 'W' || key[0] == 'H' ? "-5" : "99999999999");
        EXPECT_FALSE(LoadMainWindowPlacement(settings).has_value()) << key;
    }
    MemorySettings settings;
    SaveMainWindowPlacement(settings, {{10, 10, 800, 600}, false});
    settings.SetString("MainWindow", "Height", "wide");
    EXPECT_FALSE(LoadMainWindowPlacement(settings).has_value());
}

}  // namespace
}  // namespace korvath
