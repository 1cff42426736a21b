#include "platform/program_path.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "support/recording_host.h"

namespace korvath {
namespace {

TEST(ProgramPath, StaysInsideTheProgramDirectory) {
    testing::TempDir dir;
    const std::string tool = dir.Write("tools/hello.sh", "#!/bin/sh\n");
    EXPECT_EQ(ResolveProgramRelativePath(dir.path(), "tools/hello.sh").value_or(""), tool);
    EXPECT_EQ(ResolveProgramRelativePath(dir.path(), "tools\\hello.sh").value_or(""), tool);
    EXPECT_TRUE(ResolveProgramRelativePath(dir.path(), "tools/not-there").has_value());

    for (const char* hostile : {"../../bin/sh", "/bin/sh", "\\bin\\sh", "C:\\Windows\\cmd.exe", "tools/../../x",
                                "tools\\..\\..\\x", "..", ""})
        EXPECT_FALSE(ResolveProgramRelativePath(dir.path(), hostile).has_value()) << hostile;
    EXPECT_FALSE(ResolveProgramRelativePath(dir.path(), std::string(801, 'a')).has_value());

    // A link inside that leads out is refused; one that stays inside is followed.
    std::filesystem::create_symlink("/bin", dir.File("outside"));
    EXPECT_FALSE(ResolveProgramRelativePath(dir.path(), "outside/sh").has_value());
    std::filesystem::create_symlink(dir.File("tools"), dir.File("inside"));
    EXPECT_TRUE(ResolveProgramRelativePath(dir.path(), "inside/hello.sh").has_value());
}

TEST(ProgramPath, HelpTopicsEndInLowerCaseRtf) {
    EXPECT_TRUE(IsHelpTopicPath("Manual.rtf"));
    EXPECT_FALSE(IsHelpTopicPath("Manual.RTF"));
    EXPECT_FALSE(IsHelpTopicPath("rtf"));
}

TEST(ProgramPath, ProcessStateFollowsTheProgram) {
    std::string error;
    EXPECT_EQ(QueryProcessState(0, error), ProcessState::QueryFailed);
    EXPECT_FALSE(error.empty());

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::pause();
        ::_exit(0);
    }
    EXPECT_EQ(QueryProcessState(child, error), ProcessState::Running);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(QueryProcessState(child, error), ProcessState::Ended);
}

}  // namespace
}  // namespace korvath
