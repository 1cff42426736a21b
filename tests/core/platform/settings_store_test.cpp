#include "platform/settings_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/recording_host.h"

namespace korvath {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(IniSettingsStore, MissingFileGivesDefaultsAndFirstWriteCreatesItWithPlainHeaders) {
    testing::TempDir dir;
    IniSettingsStore store(dir.File("sub/dir/korvath.INI"));
    EXPECT_EQ(store.GetInt("Communication Settings", "COMPortNumber", 0), 0);
    EXPECT_EQ(store.GetInt("HardwareProfile", "DeviceType", 65535), 65535);
    EXPECT_EQ(store.GetString("Recent File List", "File1", "none"), "none");

    ASSERT_TRUE(store.SetInt("Communication Settings", "COMPortNumber", 9));
    const std::string text = ReadAll(store.path());
    EXPECT_NE(text.find("[Communication Settings]"), std::string::npos) << text;
    EXPECT_NE(text.find("COMPortNumber=9"), std::string::npos) << text;
    EXPECT_EQ(store.GetInt("communication settings", "comportnumber", 0), 9);  // case-insensitive

    // No temporary file is left beside the settings file.
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.File("sub/dir"))) files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}

TEST(IniSettingsStore, ReadsWindowsFilesAndKeepsOtherLinesOnWrite) {
    testing::TempDir dir;
    const std::string path = dir.Write("k.INI",
                                       "; written by hand\r\n[AboutBox]\r\nShowAtStartup=0\r\n\r\n"
                                       "[Recent File List]\r\nFile1=C:\\Cals\\truck.qvr\r\n"
                                       "[HardwareProfile]\r\nDeviceType= 4 \r\nFirmwareVersion=abc\r\n");
    IniSettingsStore store(path);
    EXPECT_EQ(store.GetInt("AboutBox", "ShowAtStartup", 1), 0);
    EXPECT_EQ(store.GetString("Recent File List", "File1", ""), "C:\\Cals\\truck.qvr");  // backslashes kept
    EXPECT_EQ(store.GetInt("HardwareProfile", "DeviceType", 2), 4);
    EXPECT_EQ(store.GetInt("HardwareProfile", "FirmwareVersion", 3), 0);  // not a number reads as 0

    ASSERT_TRUE(store.SetInt("StartBox", "ShowAtStartup", 0));
    const std::string text = ReadAll(path);
    EXPECT_NE(text.find("; written by hand"), std::string::npos);
    EXPECT_NE(text.find("File1=C:\\Cals\\truck.qvr"), std::string::npos);
    EXPECT_EQ(store.GetInt("AboutBox", "ShowAtStartup", 1), 0);
    EXPECT_EQ(store.GetInt("StartBox", "ShowAtStartup", 1), 0);
}

TEST(IniSettingsStore, ProfileIntegers) {
    EXPECT_EQ(ParseProfileInt("12"), 12);
    EXPECT_EQ(ParseProfileInt("  -7x"), -7);
    EXPECT_EQ(ParseProfileInt("x7"), 0);
    EXPECT_EQ(ParseProfileInt(""), 0);
    EXPECT_EQ(ParseProfileInt("99999999999"), 2147483647);
}

TEST(IniSettingsStore, UnwritableLocationFailsWithoutThrowing) {
    IniSettingsStore store("/proc/korvath-no-such/korvath.INI");
    EXPECT_FALSE(store.SetInt("A", "B", 1));
    EXPECT_EQ(store.GetInt("A", "B", 5), 5);
}

}  // namespace
}  // namespace korvath
