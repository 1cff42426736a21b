// The shifts of a data log: which channel is the gear, and every change of it with its time,
// gears, direction, values and crosshair, across lost links and unread cells.

#include <gtest/gtest.h>

#include "core/datalog/log_text.h"
#include "datalog/shift_events.h"
#include "support/recording_host.h"

namespace korvath {
namespace {

using namespace korvath::datalog;
using testing::LogText;

TEST(ShiftEventsTest, GearTextsAndNames) {
    EXPECT_EQ(GearRank("N"), 0);
    EXPECT_EQ(GearRank("First"), 1);
    EXPECT_EQ(GearRank("3rd"), 3);
    EXPECT_EQ(GearRank("Gear 4"), 4);
    EXPECT_EQ(GearRank("R"), -1);
    EXPECT_EQ(GearRank("P"), -2);
    EXPECT_FALSE(GearRank("Locked"));
    EXPECT_FALSE(GearRank("A+B"));
    EXPECT_FALSE(GearRank("12"));
    EXPECT_FALSE(GearRank(""));
    EXPECT_TRUE(IsGearName("Gear"));
    EXPECT_TRUE(IsGearName("Current gear"));
    EXPECT_FALSE(IsGearName("Commanded gear"));
    EXPECT_FALSE(IsGearName("Gear ratio"));
    EXPECT_FALSE(IsGearName("Geared speed"));
}

TEST(ShiftEventsTest, EveryChangeOfTheGearIsAShiftAtTheFirstRowOfTheNewGear) {
    testing::TempDir dir;
    const std::string path = dir.Write(
        "drive.csv",
        LogText({"Throttle", "Commanded gear", "Gear", "Lock-up"},
                {{"0", "10", "Second", "", "Open", "-1", "-1", ""},  // gear not read yet
                 {"50", "12", "Second", "First", "Open", "1.5", "10", ""},
                 {"100", "30", "Second", "Second", "Open", "2.7", "14.5", ""},  // up, crosshair shown
                 {"150", "", "", "", "", "", "", "link lost"},
                 {"200", "31", "Second", "Second", "Open", "2.8", "15", ""},  // same gear after the gap: none
                 {"250", "5", "Second", "Third", "Locked", "-1", "-1", ""},  // up, crosshair hidden
                 {"300", "0", "Second", "First", "Open", "0", "3", ""}}));  // down, skipping a gear
    DataLogReader log;
    std::string why;
    ASSERT_TRUE(log.Open(path, why)) << why;
    ShiftAnalysis analysis;
    ASSERT_TRUE(AnalyseShifts(log, "", analysis, why)) << why;
    EXPECT_EQ(analysis.gearItem, 2u);  // "Gear", not the commanded one
    ASSERT_EQ(analysis.shifts.size(), 3u);

    const ShiftEvent& up = analysis.shifts[0];
    EXPECT_EQ(up.timeMs, 100);
    EXPECT_EQ(up.row, 2u);
    EXPECT_EQ(up.from, "First");
    EXPECT_EQ(up.to, "Second");
    EXPECT_EQ(up.direction, ShiftDirection::Up);
    EXPECT_EQ(up.crosshairX, 2.7f);
    EXPECT_EQ(up.crosshairY, 14.5f);
    EXPECT_EQ(up.values, (std::vector<std::string>{"30", "Second", "Second", "Open"}));

    EXPECT_EQ(analysis.shifts[1].timeMs, 250);
    EXPECT_EQ(analysis.shifts[1].from, "Second");
    EXPECT_FALSE(analysis.shifts[1].crosshairX);
    EXPECT_FALSE(analysis.shifts[1].crosshairY);
    EXPECT_EQ(analysis.shifts[2].direction, ShiftDirection::Down);
    EXPECT_EQ(analysis.shifts[2].to, "First");

    // Named by hand, the commanded gear's column is the one read.
    ASSERT_TRUE(AnalyseShifts(log, "Commanded gear", analysis, why));
    EXPECT_EQ(analysis.gearItem, 1u);
    EXPECT_TRUE(analysis.shifts.empty());
    EXPECT_FALSE(AnalyseShifts(log, "Range", analysis, why));
    EXPECT_NE(why.find("no column named Range"), std::string::npos);
}

TEST(ShiftEventsTest, WithoutAGearNameTheChannelHoldingOnlyGearsIsTheGear) {
    testing::TempDir dir;
    // "Mode" never changes, "Solenoids" holds texts that are no gears, "Range" is the gear.
    const auto rows = std::vector<std::vector<std::string>>{{"0", "1", "A", "N", "", "", ""},
                                                            {"10", "1", "B", "1st", "", "", ""},
                                                            {"20", "1", "A+B", "2nd", "", "", ""},
                                                            {"30", "1", "A", "R", "", "", ""}};
    DataLogReader log;
    std::string why;
    ASSERT_TRUE(log.Open(dir.Write("a.csv", LogText({"Mode", "Solenoids", "Range"}, rows)), why));
    ShiftAnalysis analysis;
    ASSERT_TRUE(AnalyseShifts(log, "", analysis, why)) << why;
    EXPECT_EQ(analysis.gearItem, 2u);
    ASSERT_EQ(analysis.shifts.size(), 3u);
    EXPECT_EQ(analysis.shifts[0].direction, ShiftDirection::Up);
    EXPECT_EQ(analysis.shifts[2].direction, ShiftDirection::Down);

    ASSERT_TRUE(log.Open(dir.Write("b.csv", LogText({"Mode", "Solenoids"}, rows)), why));
    EXPECT_FALSE(AnalyseShifts(log, "", analysis, why));
    EXPECT_NE(why.find("no gear channel"), std::string::npos);
}

}  // namespace
}  // namespace korvath
