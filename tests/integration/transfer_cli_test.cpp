// korvath-cli read and write against the korvath-sim program over its pseudo-terminal, on an
// unpaced line and on one paced at 9600 baud, checked through the simulator's statistics and
// the memories it saves when it ends.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <nlohmann/json.hpp>

#include "support/sim_process.h"
#include "calibration/calibration_file.h"
#include "support/run_command.h"
#include "transfer_support.h"

namespace korvath {
namespace {

using namespace korvath::testing;
using korvath::test::SimProcess;

// The --stats line the simulator printed when it stopped.
nlohmann::json StatsOf(SimProcess& sim) {
    const std::string err = sim.Stop();
    const auto start = err.rfind("{\"bytes_received\"");
    if (start == std::string::npos) return {};
    return nlohmann::json::parse(err.substr(start, err.find('\n', start) - start), nullptr, false);
}

// The memory image a calibration file builds, read in a document of its own.
std::vector<std::uint8_t> ImageOfFile(const std::string& path, const std::string& programDirectory) {
    RecordingHost host;
    MemorySettings settings;
    CGraphEngine graph;
    CQRNDoc doc(DocumentHost{host, host, settings}, programDirectory);
    doc.SetGraph(&graph);
    CQRNDoc* self = &doc;
    BindingViews views(self);
    doc.SetViewHost(&views);
    if (!OpenCalibrationFile(doc, path)) return {};
    return BuildImage(doc);
}

TEST(TransferCli, EepromTablesOverThePseudoTerminal) {
    TempDir home;
    const std::string bin = KORVATH_BIN_DIR;
    const std::string kv4 = home.File("kv4.bin");
    ASSERT_EQ(RunProgram("korvath-cli", "image '" + bin + "/PID2/3/KV4.def' --var PerfMode=1 '" + kv4 + "'", home).exitCode, 0);
    SimProcess sim({"--stats", "--eeprom", kv4, "--save-on-exit", home.File("saved")});
    ASSERT_FALSE(sim.pty().empty());
    const std::string link = " --device '" + sim.pty() + "'";

    // The performance image matches the entry with three candidates; --choose 1 takes KV4.def.
    auto read = RunProgram("korvath-cli", "read '" + home.File("one.qvr") + "' --choose 1" + link, home);
    ASSERT_EQ(read.exitCode, 0) << read.err;
    EXPECT_NE(read.err.find("choice 1: KV4 Four-Speed (performance shift program)"), std::string::npos);
    EXPECT_NE(read.err.find("choice 2: KV5 Five-Speed (performance shift program)"), std::string::npos);
    EXPECT_NE(read.err.find("choice 3: Other four-speed automatic (generic settings)"), std::string::npos);
    // A choice beyond the list is a usage error naming the list's range, and nothing is saved.
    auto beyond = RunProgram("korvath-cli", "read '" + home.File("beyond.qvr") + "' --choose 7" + link, home);
    EXPECT_EQ(beyond.exitCode, 2);
    EXPECT_NE(beyond.err.find("--choose 7 is not in the list: choose 1 to 3"), std::string::npos) << beyond.err;
    EXPECT_FALSE(std::filesystem::exists(home.File("beyond.qvr")));

    auto write = RunProgram("korvath-cli", "--verbose write '" + home.File("one.qvr") + "' --table 2" + link, home);
    ASSERT_EQ(write.exitCode, 0) << write.err;
    EXPECT_NE(write.err.find("status: Writing controller NVM table 2.........................\n"), std::string::npos);
    EXPECT_NE(write.err.find("status: Write to controller NVM table 2 complete.\n"), std::string::npos);

    auto again = RunProgram("korvath-cli", "read '" + home.File("two.qvr") + "' --table 2 --choose 1 --from '" +
                                               home.File("one.qvr") + "'" + link,
                            home);
    ASSERT_EQ(again.exitCode, 0) << again.err;

    const auto stats = StatsOf(sim);
    ASSERT_TRUE(stats.is_object());
    EXPECT_EQ(stats["table_written"].back()["address"], 69);
    EXPECT_EQ(stats["table_written"].back()["value"], 0);
    const auto image = ReadBytes(kv4);
    EXPECT_EQ(ReadBytes(home.File("saved/eeprom-table2.bin")), image);
    EXPECT_EQ(ImageOfFile(home.File("one.qvr"), bin), image);
    EXPECT_EQ(ImageOfFile(home.File("two.qvr"), bin), image);

    // Bad options are usage errors; a controller that is not there is a failure with its message.
    EXPECT_EQ(RunProgram("korvath-cli", "read '" + home.File("x.qvr") + "' --table 3" + link, home).exitCode, 2);
    EXPECT_EQ(RunProgram("korvath-cli", "read '" + home.File("x.qvr") + "' --choose 0" + link, home).exitCode, 2);
    EXPECT_EQ(RunProgram("korvath-cli", "write" + link, home).exitCode, 2);
    auto none = RunProgram("korvath-cli", "read '" + home.File("x.qvr") + "' --device '" + home.File("no-such-tty") + "'", home);
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_NE(none.err.find("[Calibration Read Error:] Could not read data from memory of controller.  No controller "
                            "found.\\n\\nPlease insure that controller is connected and powered-up."),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(home.File("x.qvr")));
}

// A definition of our own that no signature line names, as the generic definition of a new
// calibration: one curve through formulas, one in raw mode 2.
constexpr char kUnsignedDefinition[] = R"([ApplicationID]
LogicalName Own
TransmissionType None
ProdName Own Controller
[Declarations]
$TotalBlockSize 64
$DynamicBlockSize 32
$NumDynamicTableCells 20
$NumDynamicTableEntries 2
$DynamicBlockStart 32
$DynamicBlockLayout 0
$DynamicInterpolation 1
$StaticBlockSize 32
$StaticBlockStart 0
$NVMType 0
CalibrationID I16 1:0 Fix:0x0203
Up T8 10:0 NVM:10:0x00:1 Def:1040,1200,1360,1520,1680,1840,2000,2160,2320,2480
Down T8 10:1 NVM:10:0x0A:1 Def:3,17,29,41,55,67,79,91,103,115
[GraphicalTuning]
GraphElement Trace {
LogicalName Up
TraceNum 0
TraceMode 1
StoreToIntFormula X/16
IntToStoreFormula X*16
DispToIntFormula X
IntToDispFormula X
}
GraphElement Trace {
LogicalName Down
TraceNum 1
TraceMode 2
}
)";

// A new calibration read from a controller whose image no signature line names gets its curves
// through its own definition's conversions, exactly as readback gives them from the image.
TEST(TransferCli, ReadWithoutASignatureConvertsTheCurvesOfANewCalibration) {
    TempDir home;
    TempDir programs;
    programs.Write("PID2/3/generic.init", kUnsignedDefinition);
    programs.Write("PID2/3/TransReadback.sig", "@0:0x55:0xFF = elsewhere.def\n");
    const std::string at = "--home '" + programs.path() + "' ";
    const std::string definition = "'" + programs.File("PID2/3/generic.init") + "' ";
    const std::string image = "'" + home.File("own.bin") + "'";
    ASSERT_EQ(RunProgram("korvath-cli", at + "image " + definition + image, home).exitCode, 0);
    SimProcess sim({"--eeprom", home.File("own.bin")});
    ASSERT_FALSE(sim.pty().empty());
    const std::string calibration = " '" + home.File("read.qvr") + "'";
    auto read = RunProgram("korvath-cli", at + "read" + calibration + " --device '" + sim.pty() + "'", home);
    ASSERT_EQ(read.exitCode, 0) << read.err;

    const auto shown = nlohmann::json::parse(RunProgram("korvath-cli", at + "show" + calibration, home).out, nullptr, false);
    const auto expected = nlohmann::json::parse(RunProgram("korvath-cli", at + "readback " + definition + image, home).out,
                                                nullptr, false);
    ASSERT_TRUE(shown.is_object() && expected.is_object());
    EXPECT_EQ(expected["traces"][0][0], 1040);
    EXPECT_EQ(expected["traces"][1][0], 3);
    EXPECT_EQ(shown["traces"][0], expected["traces"][0]);
    EXPECT_EQ(shown["traces"][1], expected["traces"][1]);
}

// A garbled identification reads the right calibration; a controller with no definition here
// fails the read, keeps the file that was there, and leaves new calibrations on what exists.
TEST(TransferCli, IdentificationFaultsNeverGiveAWrongCalibration) {
    TempDir home;
    const std::string bin = KORVATH_BIN_DIR;
    const std::string kv4 = home.File("kv4.bin");
    ASSERT_EQ(RunProgram("korvath-cli", "image '" + bin + "/PID2/3/KV4.def' '" + kv4 + "'", home).exitCode, 0);
    // (An image with a value that is not a number is refused, naming the variable.)
    auto nan = RunProgram("korvath-cli", "image '" + bin + "/PID2/3/KV4.def' --var AxleRatio=nan '" + home.File("nan.bin") + "'", home);
    EXPECT_EQ(nan.exitCode, 1);
    EXPECT_NE(nan.err.find("nan is not a finite 32-bit float (for AxleRatio)"), std::string::npos)
        << nan.err;
    const std::string good = home.File("good.qvr");
    {
        SimProcess sim({"--eeprom", kv4, "--fault", "bad-echo"});
        auto read = RunProgram("korvath-cli", "read '" + good + "' --choose 1 --device '" + sim.pty() + "'", home);
        ASSERT_EQ(read.exitCode, 0) << read.err;
        EXPECT_EQ(ImageOfFile(good, bin), ReadBytes(kv4));
    }
    const auto before = ReadBytes(good);
    SimProcess sim({"--eeprom", kv4, "--firmware", "9.1"});
    auto read = RunProgram("korvath-cli", "read '" + good + "' --choose 1 --device '" + sim.pty() + "'", home);
    EXPECT_EQ(read.exitCode, 1);
    EXPECT_NE(read.err.find("No definition for the connected controller (product 2, firmware 9.1)"), std::string::npos)
        << read.err;
    EXPECT_EQ(ReadBytes(good), before);
    auto fresh = RunProgram("korvath-cli", "new '" + home.File("new.qvr") + "'", home);
    EXPECT_EQ(fresh.exitCode, 0) << fresh.err;
    EXPECT_EQ(fresh.err.find("Definition Directory Missing"), std::string::npos) << fresh.err;
}

// A flash table on a line paced at 9600 baud, where pieces of a packet wait for their echoes.
TEST(TransferCli, FlashTableOnAPacedLine) {
    TempDir home;
    TempDir programs;
    programs.Write("PID2/3/FL.def", FlashDefinition(1, 1000, 1000));
    const std::string calibration = home.File("flash.qvr");
    const auto image = SaveSimCalibration(programs.path(), "FL.def", calibration);
    ASSERT_FALSE(image.empty());
    SimProcess sim({"--stats", "--nvm", "flash", "--baud", "9600", "--save-on-exit", home.File("saved")});
    ASSERT_FALSE(sim.pty().empty());
    const std::string link = " --device '" + sim.pty() + "'";
    auto write = RunProgram("korvath-cli", "write '" + calibration + "'" + link, home);
    ASSERT_EQ(write.exitCode, 0) << write.err;
    auto read = RunProgram("korvath-cli", "read '" + home.File("back.qvr") + "' --from '" + calibration + "'" + link, home);
    ASSERT_EQ(read.exitCode, 0) << read.err;

    const auto stats = StatsOf(sim);
    ASSERT_TRUE(stats.is_object());
    EXPECT_EQ(stats["packets"]["up"], 4);
    // The read's four, and one of the check before the write: bytes 0 to 18 of the first block,
    // which the demo's signature file names.
    EXPECT_EQ(stats["packets"]["down"], 5);
    EXPECT_EQ(stats["packets"]["rejected"], 0);
    EXPECT_EQ(stats["burns"]["ok"], 2);
    EXPECT_EQ(stats["loads"]["ok"], 3);
    EXPECT_EQ(stats["aborts"], 0);
    const auto saved = ReadBytes(home.File("saved/flash-table1.bin"));
    ASSERT_GE(saved.size(), image.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), saved.begin()));
    EXPECT_EQ(ImageOfFile(home.File("back.qvr"), programs.path()), image);
}

}  // namespace
}  // namespace korvath
