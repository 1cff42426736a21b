// What the command-line tool says when it is used wrongly or the link cannot be opened.

#include <gtest/gtest.h>

#include <filesystem>

#include <nlohmann/json.hpp>

#include "support/run_command.h"

namespace korvath {
namespace {

using testing::RunProgram;

class CliErrorsTest : public ::testing::Test {
protected:
    testing::CommandResult Cli(const std::string& arguments) { return RunProgram("korvath-cli", arguments, home); }
    testing::TempDir home;
};

TEST_F(CliErrorsTest, AnUnknownOptionIsNamedInEverySubcommand) {
    for (const char* command : {"convert a b", "declarations d", "definitions", "dump-ram", "eval X", "identify",
                                "image d o", "new o", "peek 1", "poke 1 2", "read x.qvr", "readback d i", "show f",
                                "watch", "write f"}) {
        SCOPED_TRACE(command);
        const auto r = Cli(std::string(command) + " --bogus");
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_NE(r.err.find(": unknown option --bogus\n"), std::string::npos) << r.err;
    }
    // The options of the usage line are known, also where one name begins another.
    EXPECT_EQ(Cli("eval X --x 2").exitCode, 0);
    EXPECT_NE(Cli("eval X --xx 2").err.find("unknown option --xx"), std::string::npos);
}

TEST_F(CliErrorsTest, AnOpenFailureIsReportedAlikeInEverySubcommand) {
    const std::string device = home.File("nonexist");
    for (const char* command : {"identify", "read x.qvr", "peek 1", "dump-ram"}) {
        SCOPED_TRACE(command);
        const auto r = Cli(std::string(command) + " --device '" + device + "'");
        EXPECT_EQ(r.exitCode, 1);
        const std::string name = std::string(command).substr(0, std::string(command).find(' '));
        EXPECT_NE(r.err.find("[korvath-cli " + name + "] Could not open the serial device " + device +
                             ".  This device does not appear to exist on this system.\n"),
                  std::string::npos)
            << r.err;
    }
    // A COM number whose link leads nowhere, beside the settings file.
    std::filesystem::create_directories(home.File("ports"));
    std::filesystem::create_symlink(device, home.File("ports/COM5"));
    for (const char* command : {"identify", "read x.qvr"}) {
        SCOPED_TRACE(command);
        const auto r = Cli(std::string(command) + " --port 5");
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find("] Could not open serial port COM5.  This port does not appear to exist"), std::string::npos)
            << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(home.File("x.qvr")));
}

TEST_F(CliErrorsTest, DefinitionsListsTrimmedTexts) {
    home.Write("defs/a.def", "[ApplicationID]\nLogicalName      Aligned\nTransmissionType Alpha\n"
                             "Description      Column aligned\n");
    const auto r = Cli("definitions '" + home.File("defs") + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto entry = nlohmann::json::parse(r.out)["definitions"][0];
    EXPECT_EQ(entry["logicalName"], "Aligned");
    EXPECT_EQ(entry["transmissionType"], "Alpha");
    EXPECT_EQ(entry["description"], "Column aligned");
}

TEST_F(CliErrorsTest, EveryFailureNamesItsCauseAndExitsNonZero) {
    const std::string r1 = home.File("r1.qvr");
    ASSERT_EQ(Cli("new '" + r1 + "'").exitCode, 0);
    std::string noise(4096, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919 + 13) % 251);
    const std::string garbage = home.Write("garbage.qvr", noise);
    const std::string definition = std::string(KORVATH_BIN_DIR) + "/PID2/3/KV4.def";
    const std::string image = home.File("KV4.bin");
    ASSERT_EQ(Cli("image '" + definition + "' '" + image + "'").exitCode, 0);
    auto r = Cli("readback '" + definition + "' '" + garbage + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(garbage + " holds 4096 bytes; the image of " + definition + " has 256"), std::string::npos)
        << r.err;
    for (const std::string& command : {"readback '" + garbage + "' '" + image + "'", "declarations '" + garbage + "'"}) {
        r = Cli(command);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find(garbage + " is no usable definition: it has no [Declarations] section"), std::string::npos)
            << r.err;
    }

    EXPECT_NE(Cli("show '" + home.File("missing.qvr") + "'").err.find("could not be read (No such file or directory)"),
              std::string::npos);
    EXPECT_NE(Cli("show '" + home.path() + "'").err.find("could not be read (Is a directory)"), std::string::npos);
    r = Cli("export '" + r1 + "' --csv '" + home.path() + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("export: cannot write " + home.path() + ": Is a directory"), std::string::npos) << r.err;
    r = Cli("identify --device /dev/null");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Error number = 25 (Inappropriate ioctl for device)"), std::string::npos) << r.err;
    // Without a file there is nothing to watch: the usage says what to pass.
    r = Cli("watch --ticks 2 --port 9");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("a definition file with live data items such as PID2/3/KV4.def"), std::string::npos) << r.err;
}

TEST_F(CliErrorsTest, ATerminalGetsTheMessagesLineBreaksAPipeOneLineEach) {
    std::filesystem::create_directories(home.File("ports"));
    std::filesystem::create_symlink(home.File("nonexist"), home.File("ports/COM5"));
    const char* first = "[korvath-cli identify] Could not open serial port COM5.  This port does not appear to exist on "
                        "this system.";
    const auto terminal = testing::RunProgramOnTerminal("korvath-cli", "identify --port 5", home);
    EXPECT_EQ(terminal.exitCode, 1);
    EXPECT_NE(terminal.err.find(std::string(first) + "\n\n  If COM5 is a USB-to-serial adapter"), std::string::npos)
        << terminal.err;
    EXPECT_EQ(terminal.err.find("\\n"), std::string::npos) << terminal.err;
    const auto piped = Cli("identify --port 5");
    EXPECT_NE(piped.err.find(std::string(first) + "\\n\\nIf COM5 is a USB-to-serial adapter"), std::string::npos)
        << piped.err;
}

}  // namespace
}  // namespace korvath
