// korvath-cli watch and dump-ram against korvath-sim over a pseudo-terminal.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/sim_process.h"
#include "support/run_command.h"

namespace korvath {
namespace {

using nlohmann::json;

class CliLiveDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(std::string(KORVATH_SOURCE_DIR) + "/data/PID2", home.File("PID2"),
                              std::filesystem::copy_options::recursive);
    }
    testing::CommandResult Cli(const std::string& arguments) {
        return testing::RunProgram("korvath-cli", "--home '" + home.path() + "' " + arguments, home);
    }
    testing::TempDir home;
};

TEST_F(CliLiveDataTest, WatchPrintsOneLinePerReceiverCall) {
    test::SimProcess sim({});
    ASSERT_FALSE(sim.pty().empty());
    auto r = Cli("watch --ticks 5 '" + home.File("PID2/3/KV4.def") + "' --device '" + sim.pty() + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<int> indexes;
    std::vector<json> lines;
    std::istringstream out(r.out);
    for (std::string line; std::getline(out, line);) {
        lines.push_back(json::parse(line));
        indexes.push_back(lines.back()["index"].get<int>());
    }
    // Throttle with its crosshair X, gear, speed with its crosshair Y, lock-up, line pressure.
    EXPECT_EQ(indexes, (std::vector<int>{0, 10000, 1, 2, 10001, 3, 4}));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0]["text"], "0 %");  // the car stands still: all RAM is 0
    EXPECT_TRUE(lines[0]["value"].is_null());
    EXPECT_TRUE(lines[1]["text"].is_null());
    EXPECT_TRUE(lines[1]["value"].is_number());
    EXPECT_EQ(lines[2]["text"], "N");
    EXPECT_EQ(lines[3]["text"], "0.0 mph");
    EXPECT_EQ(lines[5]["text"], "Open");
    // Each line names its item and says when it was read.
    EXPECT_EQ(lines[1]["logicalName"], "Throttle");
    EXPECT_EQ(lines[3]["logicalName"], "VehicleSpeed");
    EXPECT_EQ(lines[3]["displayName"], "Speed");
    EXPECT_LE(lines[0]["time"].get<long>(), lines[6]["time"].get<long>());
    EXPECT_EQ(lines[6]["timestamp"].get<std::string>().size(), 24u);  // 2026-12-10T01:30:00.123Z

    auto none = Cli("watch --ticks 1 '" + home.File("PID2/3/generic.init") + "' --device '" + sim.pty() + "'");
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_NE(none.err.find("[DataItems]"), std::string::npos) << none.err;
    EXPECT_EQ(Cli("watch --ticks x").exitCode, 2);
}

TEST_F(CliLiveDataTest, WatchFailsOnceTheLinkIsLostAndNamesADeviceItCannotOpen) {
    test::SimProcess sim({"--fault", "unplug-after:40"});
    ASSERT_FALSE(sim.pty().empty());
    auto r = Cli("watch --ticks 40 '" + home.File("PID2/3/KV4.def") + "' --device '" + sim.pty() + "'");
    EXPECT_EQ(r.exitCode, 1);
    const std::string lost = "korvath-cli watch: the link to the controller was lost\n";
    ASSERT_NE(r.err.find(lost), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find(lost), r.err.rfind(lost));
    EXPECT_FALSE(r.out.empty());  // values came before the link went

    const std::string missing = home.File("no-such-tty");
    auto none = Cli("watch --ticks 100 '" + home.File("PID2/3/KV4.def") + "' --device '" + missing + "'");
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_NE(none.err.find("Could not open the serial device " + missing), std::string::npos) << none.err;
}

TEST_F(CliLiveDataTest, DumpRamWritesTheFileAndPrintsItsPath) {
    test::SimProcess sim({});
    ASSERT_FALSE(sim.pty().empty());
    auto r = Cli("dump-ram --device '" + sim.pty() + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, home.File("RAMDump.txt") + "\n");
    std::ifstream in(home.File("RAMDump.txt"));
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);) rows.push_back(line);
    ASSERT_EQ(rows.size(), 18u);
    EXPECT_EQ(rows[17].substr(0, 6), "0xF | ");
    EXPECT_EQ(rows[17].size(), 6u + 16 * 3 - 1);

    sim.Stop();
    r = Cli("dump-ram --device '" + sim.pty() + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.empty());
}

}  // namespace
}  // namespace korvath
