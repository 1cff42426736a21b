// korvath-cli ports on a fake sysfs tree, and --trace around a command against the simulator.

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/fake_sysfs.h"
#include "support/run_command.h"
#include "support/scoped_env.h"
#include "support/sim_process.h"

namespace korvath {
namespace {

using testing::RunProgram;

class CliPortsTest : public ::testing::Test {
protected:
    CliPortsTest() : sysfs(home.File("root")), root("KORVATH_DEVICE_ROOT", home.File("root").c_str()) {
        sysfs.AddUsbAdapter("ttyUSB1", "1-2", "0403", "6001", "FTDI", "FT232R USB UART", "A12345");
    }
    testing::CommandResult Cli(const std::string& arguments) { return RunProgram("korvath-cli", arguments, home); }

    testing::TempDir home;
    testing::FakeSysfs sysfs;
    testing::ScopedEnv root;
};

TEST_F(CliPortsTest, ListsTheLinksFirstThenTheSystemPortsWithTheirAdapter) {
    // The ports folder lies beside the settings file (home/test.INI).
    std::filesystem::create_directories(home.File("ports"));
    std::filesystem::create_symlink(home.File("gone"), home.File("ports/COM9"));
    const auto r = Cli("ports --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto list = nlohmann::json::parse(r.out);
    ASSERT_EQ(list.size(), 3u) << r.out;
    EXPECT_EQ(list[0]["name"], "COM9");
    EXPECT_EQ(list[0]["exists"], false);
    EXPECT_EQ(list[0]["access"], false);
    EXPECT_TRUE(list[0]["usb"].is_null());
    EXPECT_EQ(list[1]["name"], "COM1");
    EXPECT_EQ(list[1]["path"], "/dev/ttyS0");
    EXPECT_EQ(list[2]["name"], "COM34");
    EXPECT_EQ(list[2]["path"], "/dev/ttyUSB1");
    EXPECT_EQ(list[2]["exists"], true);
    EXPECT_EQ(list[2]["access"], true);
    EXPECT_EQ(list[2]["usb"],
              (nlohmann::json{{"vendorId", "0403"}, {"productId", "6001"}, {"manufacturer", "FTDI"},
                              {"product", "FT232R USB UART"}, {"serial", "A12345"}}));
    const auto text = Cli("ports");
    EXPECT_EQ(text.out, "COM9   " + home.File("gone") + ", missing  [link]\nCOM1   /dev/ttyS0\n"
                        "COM34  FTDI FT232R USB UART, serial A12345 (/dev/ttyUSB1)\n");
    EXPECT_EQ(Cli("ports --all").exitCode, 2);
}

TEST_F(CliPortsTest, TraceRecordsOneCommandsExchanges) {
    test::SimProcess sim({});
    ASSERT_FALSE(sim.pty().empty());
    const std::string trace = home.File("trace.txt");
    const auto r = Cli("--trace '" + trace + "' identify --device '" + sim.pty() + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::ifstream in(trace);
    std::stringstream text;
    text << in.rdbuf();
    const std::string lines = text.str();
    EXPECT_EQ(lines.rfind("# communication trace", 0), 0u) << lines;
    EXPECT_NE(lines.find(" open " + sim.pty() + "\n"), std::string::npos) << lines;
    // The version query: 'w' to the controller, its echo back.
    EXPECT_NE(lines.find(" > 77\n"), std::string::npos) << lines;
    EXPECT_NE(lines.find(" < 77"), std::string::npos) << lines;
    EXPECT_NE(lines.find(" close\n"), std::string::npos) << lines;
    EXPECT_NE(lines.find(" trace ended\n"), std::string::npos) << lines;
    // A trace that cannot be written stops the command before it starts.
    const auto refused = Cli("--trace '" + home.File("no/such/trace.txt") + "' identify --device '" + sim.pty() + "'");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("cannot write the trace"), std::string::npos) << refused.err;
}

}  // namespace
}  // namespace korvath
