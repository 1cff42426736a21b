#include "layout/main_window_settings.h"

#include <gtest/gtest.h>

#include "support/recording_host.h"

namespace korvath {
namespace {

TEST(MainWindowSettings, APlaceComesBackAndADamagedOneIsNone) {
    testing::MemorySettings settings;
    EXPECT_FALSE(LoadMainWindowPlacement(settings).has_value());
    SaveMainWindowPlacement(settings, {{-1200, 40, 900, 650}, true});
    EXPECT_EQ(LoadMainWindowPlacement(settings)->normal, (WindowRect{-1200, 40, 900, 650}));
    EXPECT_TRUE(LoadMainWindowPlacement(settings)->maximized);
    settings.SetInt("MainWindow", "Maximized", 2);  // only exactly 1 means maximized
    EXPECT_FALSE(LoadMainWindowPlacement(settings)->maximized);
    for (const auto& [key, value] : {std::pair{"Width", "-5"}, {"Height", "wide"}, {"Left", "99999999999"}}) {
        testing::MemorySettings damaged = settings;
        damaged.SetString("MainWindow", key, value);
        EXPECT_FALSE(LoadMainWindowPlacement(damaged).has_value()) << key;
    }
}

}  // namespace
}  // namespace korvath
