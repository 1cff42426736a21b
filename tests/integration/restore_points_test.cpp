// Restore points of korvath-cli read, write and restore against the korvath-sim program: what
// each keeps, an interrupted write brought back byte for byte, a flash table kept only when it
// is read first, and a write stopped before anything is sent when no point can be kept.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <nlohmann/json.hpp>

#include "calibration/calibration_file.h"
#include "calibration/restore_points.h"
#include "support/run_command.h"
#include "support/scoped_env.h"
#include "support/sim_process.h"
#include "transfer_support.h"

namespace korvath {
namespace {

using namespace korvath::testing;
using korvath::test::SimProcess;

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

// The restore points the user's data folder (XDG_DATA_HOME) of `home` holds, newest first.
std::vector<RestorePointInfo> PointsOf(const TempDir& home) {
    return RestorePointStore(home.File("data/korvath/restore-points")).List();
}

// The paths a command named on standard error as its restore points.
std::vector<std::string> NamedPoints(const std::string& err) {
    std::vector<std::string> paths;
    const std::string tag = "restore point: ";
    for (std::size_t at = err.find(tag); at != std::string::npos; at = err.find(tag, at + 1))
        paths.push_back(err.substr(at + tag.size(), err.find('\n', at) - at - tag.size()));
    return paths;
}

TEST(RestorePoints, EepromReadWriteAndAnInterruptedWriteWrittenBackByteForByte) {
    TempDir home;
    ScopedEnv data("XDG_DATA_HOME", home.File("data").c_str());
    const std::string bin = KORVATH_BIN_DIR;
    const std::string kv4 = home.File("kv4.bin");
    ASSERT_EQ(RunProgram("korvath-cli", "image '" + bin + "/PID2/3/KV4.def' '" + kv4 + "'", home).exitCode, 0);
    const auto kv4Image = ReadBytes(kv4);
    {
        SimProcess sim({"--eeprom", kv4});
        auto read = RunProgram("korvath-cli", "read '" + home.File("one.qvr") + "' --device '" + sim.pty() + "'", home);
        ASSERT_EQ(read.exitCode, 0) << read.err;
        const auto points = PointsOf(home);
        ASSERT_EQ(points.size(), 1u);
        EXPECT_EQ(NamedPoints(read.err), std::vector<std::string>{points[0].path});
        EXPECT_EQ(points[0].reason, RestoreReason::Read);
        EXPECT_TRUE(points[0].complete());
        EXPECT_EQ(points[0].image, kv4Image);
        EXPECT_EQ(points[0].definition, "KV4.def");
        EXPECT_EQ(points[0].controller, (ControllerVersions{2, 1, 3, 3}));
    }

    // A table the workshop found: a write stopped by the unplugged controller half-way.
    std::vector<std::uint8_t> found(kv4Image.size());
    for (std::size_t i = 0; i < found.size(); ++i) found[i] = static_cast<std::uint8_t>(i * 37 + 11);
    WriteBytes(home.File("found.bin"), found);
    std::string wayBack;
    {
        SimProcess sim({"--eeprom", home.File("found.bin"), "--fault", "unplug-after:1500", "--save-on-exit",
                        home.File("half")});
        auto write = RunProgram("korvath-cli", "write '" + home.File("one.qvr") + "' --device '" + sim.pty() + "'", home);
        EXPECT_EQ(write.exitCode, 1);
        sim.Stop();
        const auto points = PointsOf(home);
        ASSERT_EQ(points.size(), 2u);
        const RestorePointInfo& before = points[0];
        EXPECT_EQ(before.reason, RestoreReason::BeforeWrite);
        EXPECT_FALSE(before.complete());
        ASSERT_GT(before.knownBytes, 0u);
        EXPECT_TRUE(std::equal(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(before.knownBytes),
                               before.image.begin()));
        EXPECT_EQ(NamedPoints(write.err), std::vector<std::string>{before.path});
        EXPECT_NE(write.err.find("Comm. Readback Error"), std::string::npos) << write.err;
        // The stored bytes, and the one whose write was cut off: its old value had been read.
        const std::string partly = "The controller's table 1 may now be partly written: ";
        const auto at = write.err.find(partly);
        ASSERT_NE(at, std::string::npos) << write.err;
        const std::size_t stored = std::stoul(write.err.substr(at + partly.size()));
        EXPECT_TRUE(stored == before.knownBytes || stored + 1 == before.knownBytes) << stored;
        EXPECT_NE(write.err.find(" of its 256 bytes were stored before the write stopped.  Write the calibration again."),
                  std::string::npos);
        EXPECT_NE(write.err.find("korvath-cli restore " + before.id), std::string::npos);
        EXPECT_NE(ReadBytes(home.File("half/eeprom-table1.bin")), found);
        wayBack = before.id;
    }
    {
        SimProcess sim({"--eeprom", home.File("half/eeprom-table1.bin"), "--save-on-exit", home.File("back")});
        auto restore = RunProgram("korvath-cli", "restore " + wayBack + " --device '" + sim.pty() + "'", home);
        EXPECT_EQ(restore.exitCode, 0) << restore.err;
        sim.Stop();
        EXPECT_EQ(ReadBytes(home.File("back/eeprom-table1.bin")), found);
        // What the restore overwrote is kept in turn.
        const auto points = PointsOf(home);
        ASSERT_EQ(points.size(), 4u);
        EXPECT_EQ(points[1].reason, RestoreReason::BeforeWrite);
        const auto half = ReadBytes(home.File("half/eeprom-table1.bin"));
        ASSERT_EQ(points[1].knownBytes, points[2].knownBytes);  // only the bytes the restore wrote
        EXPECT_TRUE(std::equal(half.begin(), half.begin() + static_cast<std::ptrdiff_t>(points[1].knownBytes),
                               points[1].image.begin()));
        EXPECT_EQ(points[0].reason, RestoreReason::Written);
    }

    auto list = RunProgram("korvath-cli", "restore-points --json", home);
    ASSERT_EQ(list.exitCode, 0) << list.err;
    const auto json = nlohmann::json::parse(list.out);
    ASSERT_EQ(json.size(), 4u);
    EXPECT_EQ(json[2]["id"], wayBack);
    EXPECT_EQ(json[2]["reason"], "before-write");
    EXPECT_EQ(json[2]["complete"], false);
    EXPECT_EQ(json[2]["table"], 1);
    EXPECT_EQ(json[2]["controller"]["deviceType"], 2);
    EXPECT_EQ(json[2]["definition"], "KV4.def");
    EXPECT_EQ(RunProgram("korvath-cli", "restore no-such-point --device /dev/null", home).exitCode, 1);
}

TEST(RestorePoints, AFlashTableIsKeptOnlyWhenReadFirst) {
    TempDir home;
    ScopedEnv data("XDG_DATA_HOME", home.File("data").c_str());
    TempDir programs;
    programs.Write("PID2/3/FL.def", FlashDefinition(1, 1000, 1000));
    const auto first = SaveSimCalibration(programs.path(), "FL.def", home.File("first.qvr"));
    const auto second = SaveSimCalibration(programs.path(), "FL.def", home.File("second.qvr"),
                                           [](CQRNDoc& doc) { EXPECT_TRUE(doc.SetIntVariable("V0", 1234)); });
    ASSERT_FALSE(first.empty());
    ASSERT_NE(first, second);
    SimProcess sim({"--nvm", "flash", "--save-on-exit", home.File("saved")});
    const std::string link = " --device '" + sim.pty() + "'";

    auto plain = RunProgram("korvath-cli", "write '" + home.File("first.qvr") + "'" + link, home);
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_NE(plain.err.find("No restore point of flash table 1 as it was before this write was kept"),
              std::string::npos)
        << plain.err;
    auto points = PointsOf(home);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0].reason, RestoreReason::Written);

    auto backup = RunProgram("korvath-cli", "write '" + home.File("second.qvr") + "' --backup" + link, home);
    ASSERT_EQ(backup.exitCode, 0) << backup.err;
    EXPECT_EQ(backup.err.find("No restore point"), std::string::npos) << backup.err;
    points = PointsOf(home);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[1].reason, RestoreReason::BeforeWrite);
    EXPECT_TRUE(points[1].complete());
    EXPECT_EQ(points[1].image, first);
    EXPECT_EQ(points[0].image, second);
    EXPECT_EQ(NamedPoints(backup.err), (std::vector<std::string>{points[1].path, points[0].path}));
}

TEST(RestorePoints, AWriteThatCouldKeepNoPointSendsNothing) {
    TempDir home;
    home.Write("data", "a file where the data folder should be");
    ScopedEnv data("XDG_DATA_HOME", home.File("data").c_str());
    const std::string bin = KORVATH_BIN_DIR;
    ASSERT_EQ(RunProgram("korvath-cli", "new '" + home.File("new.qvr") + "'", home).exitCode, 0);
    SimProcess sim({"--stats"});
    auto write = RunProgram("korvath-cli", "write '" + home.File("new.qvr") + "' --device '" + sim.pty() + "'", home);
    EXPECT_EQ(write.exitCode, 1);
    EXPECT_NE(write.err.find("[Calibration Write Error:] No restore point can be kept in " +
                             home.File("data/korvath/restore-points") + " (Not a directory)"),
              std::string::npos)
        << write.err;
    // Opening the file identified the controller; the write itself sent nothing.
    const std::string err = sim.Stop();
    const auto start = err.rfind("{\"bytes_received\"");
    ASSERT_NE(start, std::string::npos) << err;
    const auto stats = nlohmann::json::parse(err.substr(start, err.find('\n', start) - start));
    EXPECT_EQ(stats["commands"], nlohmann::json::parse(R"({"v":1,"w":1})")) << err;
    EXPECT_TRUE(stats["table_written"].empty());
}

}  // namespace
}  // namespace korvath
