// korvath-cli watch, log and dump-ram against korvath-sim over a pseudo-terminal.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "datalog/data_log_reader.h"
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
    std::string Definition() const { return home.File("PID2/3/KV4.def"); }
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

    // No controller: a device that is not there. (Not the stopped simulator's terminal: another
    // test running at the same time may be given that terminal's number.)
    sim.Stop();
    r = Cli("dump-ram --device '" + home.File("no-such-device") + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.empty());
}

TEST_F(CliLiveDataTest, RecordsADriveForItsDuration) {
    test::SimProcess sim({}, true);
    ASSERT_FALSE(sim.pty().empty());
    const std::string out = home.File("drive.csv");
    auto r = Cli("log '" + out + "' '" + Definition() + "' --duration 3 --device '" + sim.pty() + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");  // no progress line when standard error is not a terminal
    datalog::DataLogReader log;
    std::string why;
    ASSERT_TRUE(log.Open(out, why)) << why;
    EXPECT_EQ(log.layout().definition, "KV4.def (KV4 Four-Speed)");
    ASSERT_EQ(log.layout().items.size(), 9u);
    EXPECT_EQ(log.layout().items[0].name, "Throttle");
    EXPECT_EQ(log.layout().items[2].unit, "mph");
    // Nine items at 100 ms: a round takes about a second.
    EXPECT_GE(log.rowCount(), 2u);
    EXPECT_GE(log.durationMs(), 1000);
    EXPECT_LE(log.durationMs(), 3200);
    EXPECT_EQ(log.skippedRows(), 0u);
    datalog::LogRow row;
    ASSERT_TRUE(log.ReadRow(log.rowCount() - 1, row));
    EXPECT_FALSE(row.linkLost);
    EXPECT_TRUE(row.crosshairX);
    EXPECT_EQ(row.cells[2], "First");  // the car stands at first in its idle start

    // --ticks counts timer ticks.
    auto ticks = Cli("log '" + home.File("ticks.csv") + "' '" + Definition() + "' --ticks 18 --device '" +
                     sim.pty() + "'");
    ASSERT_EQ(ticks.exitCode, 0) << ticks.err;
    ASSERT_TRUE(log.Open(home.File("ticks.csv"), why)) << why;
    EXPECT_EQ(log.rowCount(), 2u);
}

TEST_F(CliLiveDataTest, CtrlCClosesTheLogWhole) {
    test::SimProcess sim({}, true);
    ASSERT_FALSE(sim.pty().empty());
    const std::string out = home.File("interrupted.csv");
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        setenv("KORVATH_HOME", home.path().c_str(), 1);
        setenv("KORVATH_SETTINGS", home.File("test.INI").c_str(), 1);
        const std::string cli = std::string(KORVATH_BIN_DIR) + "/korvath-cli";
        execl(cli.c_str(), cli.c_str(), "log", out.c_str(), Definition().c_str(), "--device", sim.pty().c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    kill(pid, SIGINT);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    datalog::DataLogReader log;
    std::string why;
    ASSERT_TRUE(log.Open(out, why)) << why;
    EXPECT_GE(log.rowCount(), 1u);
    EXPECT_EQ(log.skippedRows(), 0u);
}

TEST_F(CliLiveDataTest, UsageErrorsAndAnUnwritableFile) {
    EXPECT_EQ(Cli("log").exitCode, 2);
    EXPECT_EQ(Cli("log a.csv --duration soon").exitCode, 2);
    EXPECT_EQ(Cli("log a.csv --ticks -1").exitCode, 2);
    EXPECT_EQ(Cli("log a.csv b c").exitCode, 2);
    test::SimProcess sim({});
    ASSERT_FALSE(sim.pty().empty());
    auto r = Cli("log '" + home.File("no/such/dir/x.csv") + "' '" + Definition() + "' --ticks 1 --device '" +
                 sim.pty() + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("cannot write"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace korvath
