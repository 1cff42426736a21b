// The desktop launcher: written into the XDG desktop folder when there is one, rewritten after
// the user deleted it, silent when there is no desktop.

#include <QFile>
#include <QFileInfo>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include <gtest/gtest.h>

#include "dialogs_fixture.h"
#include "support/recording_host.h"
#include "ui/dialogs/shortcut.h"

namespace korvath::ui {
namespace {

namespace fs = std::filesystem;

// A home of its own, with the desktop folder named in user-dirs.dirs.
class ShortcutTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::TestApp();
        savedHome_ = Env("HOME");
        savedConfig_ = Env("XDG_CONFIG_HOME");
        setenv("HOME", home.path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home.path() + "/.config").c_str(), 1);
        home.Write(".config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Work Desk\"\n");
        desktop = home.path() + "/Work Desk";
    }
    void TearDown() override {
        Restore("HOME", savedHome_);
        Restore("XDG_CONFIG_HOME", savedConfig_);
    }
    static std::string Env(const char* name) {
        const char* value = std::getenv(name);
        return value ? std::string(value) : std::string("\x01");
    }
    static void Restore(const char* name, const std::string& value) {
        if (value == "\x01")
            unsetenv(name);
        else
            setenv(name, value.c_str(), 1);
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    testing::TempDir home;
    std::string desktop;
    const std::string target = "/opt/Korvath Tools/bin/korvath";
    const std::string launcher = "The Korvath Tuning System.desktop";

private:
    std::string savedHome_;
    std::string savedConfig_;
};

TEST_F(ShortcutTest, WritesTheLauncherOnTheDesktopAndAgainAfterItWasDeleted) {
    fs::create_directories(desktop);
    ASSERT_TRUE(CreateProgramShortcut(target, "/opt/Korvath Tools/bin"));
    const std::string path = desktop + "/" + launcher;
    const std::string first = Read(path);
    EXPECT_NE(first.find("[Desktop Entry]\n"), std::string::npos);
    EXPECT_NE(first.find("Name=The Korvath Tuning System\n"), std::string::npos);
    EXPECT_NE(first.find("Exec=\"/opt/Korvath Tools/bin/korvath\" %f\n"), std::string::npos);
    EXPECT_NE(first.find("Path=/opt/Korvath Tools/bin\n"), std::string::npos);
    EXPECT_NE(first.find("Comment=The Korvath Tuning System is used to tune Torquell and Dravonix transmission "
                         "control systems.\n"),
              std::string::npos);
    EXPECT_TRUE(QFileInfo(QString::fromStdString(path)).isExecutable());

    fs::remove(path);
    ASSERT_TRUE(CreateProgramShortcut(target, "/opt/Korvath Tools/bin"));
    EXPECT_EQ(Read(path), first);

    // An old launcher is replaced, not appended to.
    std::ofstream(path) << "stale";
    ASSERT_TRUE(CreateProgramShortcut(target, "/opt/Korvath Tools/bin"));
    EXPECT_EQ(Read(path), first);
}

TEST_F(ShortcutTest, NoDesktopFolderMeansNoLauncherAndNoComplaint) {
    EXPECT_EQ(ShellFolderPath(kCommonDesktopFolder), "");
    EXPECT_FALSE(CreateProgramShortcut(target, "/opt"));
    EXPECT_FALSE(fs::exists(desktop));
    // Folders that are not desktops have no place here either.
    fs::create_directories(desktop);
    EXPECT_EQ(ShellFolderPath(kCommonDesktopFolder), desktop);
    EXPECT_EQ(ShellFolderPath(5), "");
    EXPECT_FALSE(CreateShortcut(target, launcher, "/opt", "x", 5));
    // A desktop that cannot be written to fails silently as well.
    fs::permissions(desktop, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(desktop.c_str(), W_OK) != 0) {
        EXPECT_FALSE(CreateProgramShortcut(target, "/opt"));
    }
    fs::permissions(desktop, fs::perms::owner_all);
}

TEST_F(ShortcutTest, ExecArgumentsAreQuotedAsDesktopEntriesRequire) {
    EXPECT_EQ(QuoteExecArgument("/usr/bin/korvath"), "/usr/bin/korvath");
    EXPECT_EQ(QuoteExecArgument("/a b/k"), "\"/a b/k\"");
    EXPECT_EQ(QuoteExecArgument("/a$b/k"), "\"/a\\$b/k\"");
    EXPECT_EQ(QuoteExecArgument("/100%/k"), "/100%%/k");
    // The Exec value escapes the quoting's backslash once more.
    const std::string text = DesktopEntryText("/a$b/k", "/a", "d", "korvath");
    EXPECT_NE(text.find("Exec=\"/a\\\\$b/k\" %f\n"), std::string::npos) << text;
    // A description cannot break the entry into more lines.
    const std::string two = DesktopEntryText("/k", "/a", "one\nIcon=evil", "korvath");
    EXPECT_NE(two.find("Comment=one\\nIcon=evil\n"), std::string::npos);
}

}  // namespace
}  // namespace korvath::ui
