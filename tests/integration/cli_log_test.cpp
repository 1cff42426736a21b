// korvath-cli log against a driving korvath-sim: a few seconds of a drive in a data log, Ctrl-C
// closing it whole, and the usage errors.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "datalog/data_log_reader.h"
#include "support/run_command.h"
#include "support/sim_process.h"

namespace korvath {
namespace {

class CliLogTest : public ::testing::Test {
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

TEST_F(CliLogTest, RecordsADriveForItsDuration) {
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

TEST_F(CliLogTest, CtrlCClosesTheLogWhole) {
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

TEST_F(CliLogTest, UsageErrorsAndAnUnwritableFile) {
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
