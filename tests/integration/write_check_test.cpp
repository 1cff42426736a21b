// The check before korvath-cli write against korvath-sim: another transmission in the
// controller (identified from the signature bytes alone) and crossing shift curves refuse the
// write unless --force.

#include <gtest/gtest.h>

#include "support/run_command.h"
#include "support/scoped_env.h"
#include "support/sim_process.h"
#include "transfer_support.h"

namespace korvath {
namespace {

using namespace korvath::testing;
using korvath::test::SimProcess;

// A calibration of the demo definition `name`, saved to `path`; crossing: its 2-1 downshift put
// on its 1-2 upshift at the first column.
void SaveDemoCalibration(const std::string& name, const std::string& path, bool crossing) {
    const auto image = SaveSimCalibration(KORVATH_BIN_DIR, name, path, [crossing](CQRNDoc& doc) {
        auto& points = doc.calibration().points;
        if (crossing) points[1][0] = points[0][0];
    });
    ASSERT_FALSE(image.empty());
}

TEST(WriteCheck, AnotherTransmissionAndCrossingCurvesRefuseTheWriteUnlessForced) {
    TempDir home;
    ScopedEnv data("XDG_DATA_HOME", home.File("data").c_str());
    const std::string kv4 = home.File("kv4.bin");
    ASSERT_EQ(RunProgram("korvath-cli", "image '" KORVATH_BIN_DIR "/PID2/3/KV4.def' '" + kv4 + "'", home).exitCode, 0);
    SaveDemoCalibration("KV5.def", home.File("kv5.qvr"), false);
    SaveDemoCalibration("generic.init", home.File("generic.qvr"), false);
    SaveDemoCalibration("KV4.def", home.File("crossing.qvr"), true);
    SaveDemoCalibration("KV4.def", home.File("sound.qvr"), false);
    SimProcess sim({"--stats", "--eeprom", kv4});
    const std::string link = " --device '" + sim.pty() + "'";

    // The signature bytes cannot tell KV4 from KV5, so the controller is named as holding either.
    auto other = RunProgram("korvath-cli", "write '" + home.File("generic.qvr") + "'" + link, home);
    EXPECT_EQ(other.exitCode, 1);
    EXPECT_NE(other.err.find("  You are writing None to a controller that holds KV4 Four-Speed or KV5 Five-Speed.\n"),
              std::string::npos)
        << other.err;
    EXPECT_EQ(other.err.find("restore point:"), std::string::npos);  // nothing was written

    auto crossing = RunProgram("korvath-cli", "write '" + home.File("crossing.qvr") + "'" + link, home);
    EXPECT_EQ(crossing.exitCode, 1);
    EXPECT_NE(crossing.err.find("  2-1 Down is at or above 1-2 Up at column 1: the gears would hunt"),
              std::string::npos)
        << crossing.err;

    EXPECT_EQ(RunProgram("korvath-cli", "write '" + home.File("sound.qvr") + "'" + link, home).exitCode, 0);
    auto forced = RunProgram("korvath-cli", "write '" + home.File("crossing.qvr") + "' --force" + link, home);
    EXPECT_EQ(forced.exitCode, 0) << forced.err;
    // KV5 on a controller whose image matches KV4 and KV5 alike: nothing to compare.
    auto kv5 = RunProgram("korvath-cli", "write '" + home.File("kv5.qvr") + "'" + link, home);
    EXPECT_EQ(kv5.exitCode, 0) << kv5.err;
    EXPECT_EQ(kv5.err.find("You are writing"), std::string::npos);
}

TEST(WriteCheck, AFlashControllerIsIdentifiedFromTheBlocksHoldingItsSignature) {
    TempDir home;
    ScopedEnv data("XDG_DATA_HOME", home.File("data").c_str());
    TempDir programs;
    std::string other = FlashDefinition(1, 1000, 1000);
    programs.Write("PID2/3/FL.def", other);
    other.replace(other.find("Flash Test"), 10, "Flash Other");
    programs.Write("PID2/3/FM.def", other);
    const auto image = SaveSimCalibration(programs.path(), "FL.def", home.File("fl.qvr"));
    ASSERT_FALSE(image.empty());
    ASSERT_FALSE(SaveSimCalibration(programs.path(), "FM.def", home.File("fm.qvr")).empty());
    // Two bytes of the first 64-byte block and one of the tenth.
    std::string signature;
    for (const std::size_t offset : {0u, 1u, 600u})
        signature += "@" + std::to_string(offset) + ":" + std::to_string(image.at(offset)) + ":0xFF ";
    programs.Write("PID2/3/TransReadback.sig", signature + "= FL.def\n");
    SimProcess sim({"--nvm", "flash"});
    const std::string write = "--home '" + programs.path() + "' write '" + home.File("%s.qvr") + "' --device '" +
                              sim.pty() + "'";
    auto writeOf = [&](const char* name) {
        std::string command = write;
        command.replace(command.find("%s"), 2, name);
        return RunProgram("korvath-cli", command, home);
    };

    // The blank flash matches nothing: nothing to compare. Then it holds FL.def.
    ASSERT_EQ(writeOf("fl").exitCode, 0);
    auto refused = writeOf("fm");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("  You are writing Flash Other to a controller that holds Flash Test.\n"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(writeOf("fl").exitCode, 0);
}

}  // namespace
}  // namespace korvath
