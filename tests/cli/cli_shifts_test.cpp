// korvath-cli shifts: the events of a data log as text and as JSON, and the refusal of a file
// that is not a log.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/run_command.h"

namespace korvath {
namespace {

using testing::RunProgram;

constexpr const char* kLog =
    "Time,Speed,Gear,Speed (raw),Gear (raw),Crosshair X,Crosshair Y,Link,Definition\r\n"
    "ms,mph,,,,column,mph,,KV4\r\n"
    "0,0.0,First,0,1,0,0,,KV4\r\n"
    "1050,12.5,Second,125,2,3.3,12.1,,KV4\r\n"
    "1100,,,,,,,link lost,KV4\r\n"
    "2000,30.0,First,300,1,-1,-1,,KV4\r\n";

TEST(CliShiftsTest, PrintsTheShiftsAsTextAndAsJson) {
    testing::TempDir home;
    const std::string log = home.Write("drive.csv", kLog);
    const auto text = RunProgram("korvath-cli", "shifts '" + log + "'", home);
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find("1.050 s  First -> Second (up)  at 3.3, 12.1\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("2.000 s  Second -> First (down)\n"), std::string::npos) << text.out;

    const auto r = RunProgram("korvath-cli", "shifts '" + log + "' --json", home);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto shifts = nlohmann::json::parse(r.out);
    ASSERT_EQ(shifts.size(), 2u);
    EXPECT_EQ(shifts[0], nlohmann::json::parse(R"({"time": 1.05, "from": "First", "to": "Second", "x": 3.3,
        "y": 12.1, "values": {"Speed": 12.5, "Gear": "Second"}})"));
    EXPECT_TRUE(shifts[1]["x"].is_null());
    EXPECT_TRUE(shifts[1]["y"].is_null());
    EXPECT_EQ(shifts[1]["time"], 2.0);
}

TEST(CliShiftsTest, RefusesWhatIsNotALogWithTheReason) {
    testing::TempDir home;
    const auto notLog = RunProgram("korvath-cli", "shifts '" + home.Write("x.csv", "a,b\r\n1,2\r\n") + "'", home);
    EXPECT_EQ(notLog.exitCode, 1);
    EXPECT_NE(notLog.err.find("is no data log to read shifts from: its first row is not the header of a data log"),
              std::string::npos)
        << notLog.err;
    const auto noGear = RunProgram(
        "korvath-cli", "shifts '" + home.Write("y.csv", "Time,Speed,Speed (raw),Crosshair X,Crosshair Y,Link,"
                                                        "Definition\r\nms,mph,,column,mph,,KV4\r\n") + "'",
        home);
    EXPECT_EQ(noGear.exitCode, 1);
    EXPECT_NE(noGear.err.find("no gear channel"), std::string::npos) << noGear.err;
    EXPECT_EQ(RunProgram("korvath-cli", "shifts", home).exitCode, 2);
}

}  // namespace
}  // namespace korvath
