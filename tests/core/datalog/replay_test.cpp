// Replay without widgets: the replay clock and slider, the frame a row shows, the refusal of
// another definition's log, and the trail's dots and fading.

#include <gtest/gtest.h>

#include "datalog/crosshair_trail.h"
#include "datalog/replay_clock.h"
#include "datalog/replay_frame.h"
#include "graph/graphengine.h"
#include "support/recording_surface.h"

namespace korvath {
namespace {

using namespace korvath::datalog;

TEST(ReplayClockTest, PlaysAtItsSpeedStopsAtTheEndAndFollowsTheSlider) {
    ReplayClock clock;
    clock.SetDuration(60000);
    clock.Advance(1000);
    EXPECT_EQ(clock.position(), 0);  // paused
    clock.Play();
    clock.Advance(500);
    EXPECT_EQ(clock.position(), 500);
    clock.SetSpeed(16);
    clock.Advance(1000);
    EXPECT_EQ(clock.position(), 16500);
    clock.SetSpeed(3);  // not one of the speeds
    EXPECT_EQ(clock.speed(), 16);
    clock.SetSpeed(4);
    clock.Advance(20000);
    EXPECT_EQ(clock.position(), 60000);
    EXPECT_FALSE(clock.playing());
    clock.Play();  // from the end: again from the start
    EXPECT_EQ(clock.position(), 0);
    EXPECT_TRUE(clock.playing());

    clock.SeekSlider(500);
    EXPECT_EQ(clock.position(), 30000);
    EXPECT_EQ(clock.SliderValue(), 500);
    clock.SeekSlider(5000);
    EXPECT_EQ(clock.position(), 60000);
    clock.Seek(-5);
    EXPECT_EQ(clock.SliderValue(), 0);

    ReplayClock empty;
    empty.Play();
    EXPECT_FALSE(empty.playing());
    EXPECT_EQ(empty.SliderValue(), 0);
    EXPECT_EQ(ReplayTimeText(83450, 600000), "1:23.4 / 10:00.0");
    EXPECT_EQ(ElapsedText(3723000), "1:02:03");
}

std::vector<DataItem> Items() {
    DataItem speed;
    speed.displayName = "Speed";
    speed.monitorFlag = 1;
    speed.monitorIndex = 0;
    speed.displayFormat = "%.1f mph";
    speed.displayFormatUsable = true;
    speed.maximum = 1000;
    DataItem gear;
    gear.displayName = "Gear";
    gear.kind = DataItemKind::Enumerated;
    gear.monitorFlag = 1;
    gear.monitorIndex = 1;
    DataItem logged;  // logged, not shown
    logged.displayName = "Oil";
    logged.logFlag = 1;
    return {speed, gear, logged};
}

TEST(ReplayFrameTest, RowsBecomeDashboardTextsAndOtherDefinitionsAreRefused) {
    const std::vector<DataItem> items = Items();
    const LogLayout layout = LayOutLog(items, "KV4.def (KV4 Four-Speed)");
    LogRow row;
    row.cells = {"100", "61.5", "Fourth", "90", "615", "4", "130", "2.5", "61.5", "", ""};
    row.crosshairX = 2.5f;
    ReplayFrame frame = FrameOfRow(layout, items, row);
    ASSERT_EQ(frame.texts.size(), 2u);
    EXPECT_EQ(frame.texts[0], (std::pair<std::int32_t, std::string>{0, "61.5 mph"}));
    EXPECT_EQ(frame.texts[1], (std::pair<std::int32_t, std::string>{1, "Fourth"}));
    EXPECT_FLOAT_EQ(*frame.crosshairX, 2.5f);
    row.cells[1] = "eH";  // an error text stays as it was shown
    EXPECT_EQ(FrameOfRow(layout, items, row).texts[0].second, "eH");
    row.cells[1] = "";  // not read yet: nothing shown
    EXPECT_EQ(FrameOfRow(layout, items, row).texts.size(), 1u);
    row.linkLost = true;
    EXPECT_TRUE(FrameOfRow(layout, items, row).linkLost);
    EXPECT_TRUE(FrameOfRow(layout, items, row).texts.empty());

    std::string message;
    EXPECT_TRUE(CheckReplayable(layout, "drive.csv", "KV4.def (KV4 Four-Speed)", items, message));
    EXPECT_FALSE(CheckReplayable(layout, "drive.csv", "KV6.def (KV6 Six-Speed)", items, message));
    EXPECT_NE(message.find("KV4.def (KV4 Four-Speed)"), std::string::npos) << message;
    EXPECT_NE(message.find("KV6.def (KV6 Six-Speed)"), std::string::npos) << message;
    EXPECT_NE(message.find("drive.csv"), std::string::npos) << message;
    std::vector<DataItem> fewer = items;
    fewer.pop_back();
    EXPECT_FALSE(CheckReplayable(layout, "drive.csv", "KV4.def (KV4 Four-Speed)", fewer, message));
}

TEST(CrosshairTrailTest, DotsLieWhereTheCrosshairWasAndFadeWithAge) {
    CGraphEngine graph;
    graph.SetPlotRect(20, 20, 600, 400);
    test::RecordingSurface surface;
    graph.Draw(surface);  // the layout the dots are placed by

    CrosshairTrail trail;
    trail.Add(0, 1.0f, 20.0f);
    trail.Add(100, 1.0f, 20.0f);  // still there: no new dot
    trail.Add(200, -1.0f, -1.0f);  // hidden: nothing
    trail.Add(300, 4.0f, -1.0f);   // only x known yet: nothing
    trail.Add(1000, 2.0f, 30.0f);
    trail.Add(4000, 3.0f, 40.0f);
    ASSERT_EQ(trail.size(), 3u);
    auto dots = trail.Dots(4000, graph);
    ASSERT_EQ(dots.size(), 3u);
    int cx = 0, cy = 0;
    graph.CrosshairCentre(2.0f, 30.0f, cx, cy);
    EXPECT_EQ(dots[1].x, cx);
    EXPECT_EQ(dots[1].y, cy);
    EXPECT_LT(dots[0].alpha, dots[1].alpha);
    EXPECT_LT(dots[1].alpha, dots[2].alpha);
    EXPECT_FLOAT_EQ(dots[2].alpha, CrosshairTrail::kNewestAlpha);
    EXPECT_FLOAT_EQ(dots[0].alpha, CrosshairTrail::kNewestAlpha * 0.2f);

    trail.Prune(5500);  // the first is five seconds old
    EXPECT_EQ(trail.size(), 2u);
    EXPECT_TRUE(trail.Dots(9000, graph).empty());
    for (int i = 0; i < 2000; ++i) trail.Add(9000 + i, static_cast<float>(i % 10), 1.0f);
    EXPECT_EQ(trail.size(), CrosshairTrail::kMaxPositions);
}

}  // namespace
}  // namespace korvath
