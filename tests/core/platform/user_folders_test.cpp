#include "platform/user_folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/recording_host.h"
#include "support/scoped_env.h"

namespace korvath {
namespace {

using testing::ScopedEnv;
using testing::TempDir;

TEST(UserFolders, TheDataFolderFollowsTheDesktopRules) {
    ScopedEnv home("HOME", "/home/u");
    {
        ScopedEnv data("XDG_DATA_HOME", "/srv/data/");
        EXPECT_EQ(UserDataDirectory(), "/srv/data/korvath");
    }
    {
        ScopedEnv relative("XDG_DATA_HOME", "rel/data");  // not absolute: ignored
        EXPECT_EQ(UserDataDirectory(), "/home/u/.local/share/korvath");
    }
    ScopedEnv unset("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(UserDataDirectory(), "/home/u/.local/share/korvath");
}

TEST(UserFolders, AFolderThatCannotTakeFilesGivesWayToTheUserFolder) {
    TempDir dir;
    ScopedEnv data("XDG_DATA_HOME", dir.File("data").c_str());
    EXPECT_EQ(WritableDirectory(dir.path()), dir.path());
    // Missing, or a file: nothing can be made in it.
    EXPECT_EQ(WritableDirectory(dir.File("missing")), dir.File("data/korvath"));
    EXPECT_EQ(WritableDirectory(dir.Write("file", "x")), dir.File("data/korvath"));
    EXPECT_EQ(WritableDirectory(""), dir.File("data/korvath"));

    std::string reason;
    EXPECT_TRUE(MakeDirectories(dir.File("data/korvath"), reason));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("data/korvath")));
    EXPECT_TRUE(MakeDirectories(dir.File("data/korvath"), reason));  // already there
    EXPECT_FALSE(MakeDirectories(dir.File("file/below"), reason));
    EXPECT_EQ(reason, SystemReason(ENOTDIR));
}

}  // namespace
}  // namespace korvath
