#include "platform/paths.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/file_filters.h"
#include "support/recording_host.h"
#include "support/scoped_env.h"

namespace korvath {
namespace {

using testing::ScopedEnv;

TEST(Paths, SettingsFileFollowsTheExecutableName) {
    ScopedEnv noOverride("KORVATH_SETTINGS", nullptr);
    ScopedEnv config("XDG_CONFIG_HOME", "/home/u/.cfg");
    EXPECT_EQ(SettingsPathForExecutable("/opt/korvath/Korvath.exe"), "/opt/korvath/Korvath.INI");
    EXPECT_EQ(SettingsPathForExecutable("/opt/k.v2/korvath"), "/home/u/.cfg/korvath/korvath.INI");
    EXPECT_EQ(SettingsPathForExecutable("/opt/korvath/korvath"), "/home/u/.cfg/korvath/korvath.INI");
    {
        ScopedEnv noConfig("XDG_CONFIG_HOME", nullptr);
        ScopedEnv home("HOME", "/home/w");
        EXPECT_EQ(SettingsPathForExecutable("/usr/bin/korvath"), "/home/w/.config/korvath/korvath.INI");
    }
    ScopedEnv override("KORVATH_SETTINGS", "/tmp/x.ini");
    EXPECT_EQ(SettingsPathForExecutable("/opt/korvath/Korvath.exe"), "/tmp/x.ini");
}

TEST(Paths, ProgramDirectoryAndRevisionLetter) {
    testing::TempDir dir;
    {
        ScopedEnv home("KORVATH_HOME", (dir.path() + "/").c_str());
        EXPECT_EQ(ProgramDirectory(), dir.path());
    }
    EXPECT_EQ(ReadPackageRevision(dir.path()), 0);
    dir.Write("Package.ver", "");
    EXPECT_EQ(ReadPackageRevision(dir.path()), 0);
    dir.Write("Package.ver", "c\nrest");
    EXPECT_EQ(ReadPackageRevision(dir.path()), 'c');
}

TEST(Paths, DefinitionDirectoriesPrintUnsignedNumbers) {
    EXPECT_EQ(DefinitionDirectoryFor("/k", 2, 3), "/k/PID2/3");
    EXPECT_EQ(DefinitionDirectoryFor("/k", -1, 65535), "/k/PID65535/65535");
}

TEST(Paths, NamesWrittenOnWindowsResolveCaseInsensitively) {
    testing::TempDir dir;
    const std::string file = dir.Write("PID2/3/Generic.Init", "x");
    EXPECT_EQ(ResolveExistingPath(file), file);
    EXPECT_EQ(ResolveExistingPath(dir.path() + "\\pid2\\3\\GENERIC.INIT"), file);
    EXPECT_EQ(ResolveExistingPath(dir.path() + "/PID2/3/missing.def"), dir.path() + "/PID2/3/missing.def");
    EXPECT_EQ(JoinPath("/a/b/", "PID2\\3\\x.def"), "/a/b/PID2/3/x.def");
}

}  // namespace
}  // namespace korvath

namespace korvath {
namespace {

// A name typed without an extension takes the one of the filter chosen in a save dialog.
TEST(FileFilters, ANameWithoutExtensionTakesTheChosenFiltersOne) {
    constexpr const char* kPng = "PNG Picture (*.png)";
    const struct {
        const char* path;
        const char* filter;
        const char* result;
    } cases[] = {
        {"/home/t/curves", kPng, "/home/t/curves.png"},
        {"/home/t/curves.svg", kPng, "/home/t/curves.svg"},  // the user's own extension stays
        {"/home/t.d/curves", "CSV Table (*.csv)", "/home/t.d/curves.csv"},
        {"/home/t/.hidden", kPng, "/home/t/.hidden.png"},
        {"/home/t/curves", "All Files (*)", "/home/t/curves"},
        {"curves", "Pictures (*.png *.jpg)", "curves.png"},
    };
    for (const auto& c : cases) EXPECT_EQ(WithFilterExtension(c.path, c.filter), c.result) << c.path << " " << c.filter;
}

}  // namespace
}  // namespace korvath
