#include "platform/program_relative_path.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/recording_host.h"

namespace korvath {
namespace {

TEST(ProgramRelativePath, NamesInsideTheDirectoryResolveWithEitherSeparatorAndAnyCase) {
    testing::TempDir dir;
    const std::string manual = dir.Write("help/Manual.rtf", "x");
    EXPECT_EQ(ResolveProgramRelativePath(dir.path(), "help\\Manual.rtf"), manual);
    EXPECT_EQ(ResolveProgramRelativePath(dir.path(), "HELP/manual.RTF"), manual);
    // A file that is not there yet is still inside: the caller reports it as missing.
    EXPECT_EQ(ResolveProgramRelativePath(dir.path(), "help/Missing.rtf"), dir.path() + "/help/Missing.rtf");
}

TEST(ProgramRelativePath, PathsLeadingOutOfTheDirectoryAreRefused) {
    testing::TempDir dir;
    testing::TempDir outside;
    outside.Write("secret.rtf", "x");
    dir.Write("help/a.rtf", "x");
    std::filesystem::create_symlink(outside.path(), dir.File("escape"));
    std::filesystem::create_symlink(outside.File("secret.rtf"), dir.File("help/link.rtf"));
    std::filesystem::create_symlink(dir.File("help/a.rtf"), dir.File("inner.rtf"));

    for (const char* bad : {"", "/etc/passwd", "\\etc\\passwd", "C:\\x.rtf", "..", "../x.rtf", "help/../../x.rtf",
                            "help\\..\\a.rtf", "escape/secret.rtf", "help/link.rtf"})
        EXPECT_FALSE(ResolveProgramRelativePath(dir.path(), bad)) << bad;
    // A link that stays inside the directory is fine, and so is a name that only contains dots.
    EXPECT_TRUE(ResolveProgramRelativePath(dir.path(), "inner.rtf"));
    EXPECT_TRUE(ResolveProgramRelativePath(dir.path(), "help/..a.rtf"));
}

}  // namespace
}  // namespace korvath
