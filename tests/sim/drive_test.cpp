// The drive loop as the dashboard sees it: RAM variables read over the wire at chosen times.

#include <gtest/gtest.h>

#include <set>

#include "engine/driving.h"
#include "sim_wire.h"

namespace korvath::sim {
namespace {

int ReadRam(Controller& c, int address) {
    std::string command = "f";
    command += test::Hex(static_cast<std::uint32_t>(address), 2);
    std::string answer = test::Send(c, command);
    EXPECT_EQ(answer.size(), 5u) << command;
    if (answer.size() != 5) return -1;
    return std::stoi(answer.substr(3), nullptr, 16);
}

int Speed(Controller& c) { return ReadRam(c, 49) * 256 + ReadRam(c, 50); }

TEST(Drive, OneLoopPullsAwayThroughAllGearsCruisesAndCoastsToAStop) {
    Controller c;
    std::vector<int> gears;
    int top_speed = 0;
    int top_throttle = 0;
    bool clutch_applied = false;
    for (std::uint64_t t = 0; t <= kDriveCycleMs; t += 250) {
        c.SetTime(t);
        int gear = ReadRam(c, 47);
        ASSERT_GE(gear, 1);
        ASSERT_LE(gear, 4);
        if (gears.empty() || gears.back() != gear) gears.push_back(gear);
        top_speed = std::max(top_speed, Speed(c));
        top_throttle = std::max(top_throttle, ReadRam(c, 44));
        clutch_applied = clutch_applied || ReadRam(c, 54) == 1;
    }
    EXPECT_EQ(gears, (std::vector<int>{1, 2, 3, 4, 3, 2, 1}));
    EXPECT_GT(top_speed, 500);   // above 50 mph in tenths
    EXPECT_LT(top_speed, 1000);
    EXPECT_GT(top_throttle, 100);
    EXPECT_TRUE(clutch_applied);
}

TEST(Drive, SpeedRisesWhileAcceleratingAndFallsWhileCoasting) {
    Controller c;
    c.SetTime(2000);
    EXPECT_EQ(Speed(c), 0);
    c.SetTime(10000);
    int early = Speed(c);
    c.SetTime(20000);
    int later = Speed(c);
    EXPECT_GT(later, early);
    EXPECT_GT(early, 0);
    c.SetTime(45000);
    int coasting = Speed(c);
    EXPECT_EQ(ReadRam(c, 44), 0);  // foot off the throttle
    c.SetTime(50000);
    EXPECT_LT(Speed(c), coasting);
    // The previous sample trails the current one while slowing down.
    EXPECT_GT(ReadRam(c, 51) * 256 + ReadRam(c, 52), Speed(c));
}

TEST(Drive, EngineWarmsUpAndBatteryVoltageIsPlausible) {
    Controller c;
    int cold = ReadRam(c, 124) - 40;
    c.SetTime(10 * 60 * 1000);
    int warm = ReadRam(c, 124) - 40;
    EXPECT_NEAR(cold, 20, 1);
    EXPECT_GT(warm, 80);
    EXPECT_LT(warm, 95);
    double volts = ReadRam(c, 162) / 16.0;
    EXPECT_GT(volts, 13.0);
    EXPECT_LT(volts, 15.0);
}

TEST(Drive, StillControllerKeepsWhatTheToolWrote) {
    ControllerConfig config;
    config.drive = false;
    Controller c(config);
    EXPECT_EQ(test::Send(c, "f2C80"), "f2C0080");
    c.SetTime(30000);
    EXPECT_EQ(ReadRam(c, 44), 0x80);
}

// An EEPROM table #1 whose curves shift up at `upMph` and down at `downMph`, whatever the throttle.
std::vector<std::uint8_t> FlatShiftCurves(int upMph, int downMph) {
    std::vector<std::uint8_t> image(256, 0);
    for (std::size_t table = 0; table < 6; ++table)
        for (std::size_t cell = 0; cell < 19; ++cell)
            image[96 + table * 19 + cell] = static_cast<std::uint8_t>((table % 2 == 0 ? upMph : downMph) * 2);
    return image;
}

// The speed (tenths of mph) at the first sample showing each change of gear in one loop.
std::vector<std::pair<int, int>> GearChanges(Controller& c, std::uint64_t loop = 0) {
    std::vector<std::pair<int, int>> changes;
    int gear = -1;
    for (std::uint64_t t = loop * kDriveCycleMs; t < (loop + 1) * kDriveCycleMs; t += 50) {
        c.SetTime(t);
        const int now = ReadRam(c, 47);
        if (gear != -1 && now != gear) changes.emplace_back(now, Speed(c));
        gear = now;
    }
    return changes;
}

TEST(Drive, ShiftsWhereTheWrittenCurvesSay) {
    // 1-2, 2-3 and 3-4 all at 30 mph one after the other; 4-3, 3-2 and 2-1 at 12 mph.
    Controller c;
    ASSERT_TRUE(c.LoadEeprom(0, FlatShiftCurves(30, 12)));
    const auto changes = GearChanges(c);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].first, 4);
    EXPECT_GE(changes[0].second, 300);
    EXPECT_LT(changes[0].second, 315);  // the first sample past 30 mph
    EXPECT_EQ(changes[1].first, 1);
    EXPECT_LT(changes[1].second, 120);
    EXPECT_GT(changes[1].second, 100);

    // A curve written meanwhile moves the next loop's shift with it.
    ASSERT_TRUE(c.LoadEeprom(0, FlatShiftCurves(40, 12)));
    const auto moved = GearChanges(c, 1);
    ASSERT_FALSE(moved.empty());
    EXPECT_EQ(moved[0].first, 4);
    EXPECT_GE(moved[0].second, 400);

    // A cleared or erased table leaves the drive's own shift speeds.
    for (const std::uint8_t fill : {0x00, 0xFF}) {
        Controller erased;
        ASSERT_TRUE(erased.LoadEeprom(0, std::vector<std::uint8_t>(256, fill)));
        EXPECT_EQ(GearChanges(erased).size(), 6u) << int{fill};
    }
}

TEST(Drive, AGearHoldsBetweenItsUpAndDownCurvesWhileTheThrottleWavers) {
    // Upshift speeds rising 4 mph a cell with the throttle (20, 35 and 50 mph at half throttle),
    // downshifts at 5, 12 and 20 mph: the wavering throttle while accelerating moves the upshift
    // speed by more than the car gains meanwhile, and still the gear only goes up.
    std::vector<std::uint8_t> image(256, 0);
    const int upAtNoThrottle[] = {-20, -5, 10};
    const int down[] = {5, 12, 20};
    for (std::size_t pair = 0; pair < 3; ++pair)
        for (std::size_t cell = 0; cell < 19; ++cell) {
            const int up = std::max(1, upAtNoThrottle[pair] + 4 * static_cast<int>(cell));
            image[96 + 2 * pair * 19 + cell] = static_cast<std::uint8_t>(up * 2);
            image[96 + (2 * pair + 1) * 19 + cell] = static_cast<std::uint8_t>(down[pair] * 2);
        }
    Controller c;
    ASSERT_TRUE(c.LoadEeprom(0, image));
    std::vector<int> gears;
    for (const auto& [gear, speed] : GearChanges(c)) gears.push_back(gear);
    EXPECT_EQ(gears, (std::vector<int>{2, 3, 4, 3, 2, 1}));
}

TEST(Drive, SameMomentGivesTheSameValues) {
    Controller a, b;
    a.SetTime(12345);
    b.SetTime(5000);
    b.SetTime(12345);
    for (int address : {44, 47, 49, 50, 124, 160, 162})
        EXPECT_EQ(ReadRam(a, address), ReadRam(b, address)) << address;
}

}  // namespace
}  // namespace korvath::sim
