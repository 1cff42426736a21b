// Live data items polled from the simulated controller through the document's definition.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "comm/data_items.h"
#include "core/comm/fake_link.h"
#include "document/qrndoc.h"
#include "engine/driving.h"
#include "support/recording_host.h"
#include "support/sim_transport.h"

namespace korvath {
namespace {

using namespace korvath::testing;
using korvath::test::RecordingTimer;

struct Call {
    std::int32_t index;
    std::optional<std::string> text;
    std::optional<float> value;
};

constexpr const char* kHeader =
    "[ApplicationID]\nLogicalName KV4\nTransmissionType KV4 Four-Speed\nProdName Demo\n"
    "[Declarations]\n$TotalBlockSize 64\n$DynamicBlockSize 32\n$NumDynamicTableCells 20\n"
    "$NumDynamicTableEntries 2\n$DynamicBlockStart 32\n$DynamicBlockLayout 0\n$DynamicInterpolation 1\n"
    "$StaticBlockSize 32\n$StaticBlockStart 0\n$NVMType 0\nGain I16 1:0 Def:3\n";

class LiveDataTest : public ::testing::Test {
protected:
    // A connected document whose definition is kHeader followed by `items`.
    void Start(const std::string& items, bool drive = false) {
        sim::ControllerConfig config;
        config.hardware_version = 2;  // as a new calibration expects: identification changes nothing
        config.drive = drive;
        controller = std::make_unique<sim::Controller>(config);
        auto transport = std::make_unique<SimTransport>(*controller);
        link = transport.get();
        doc = std::make_unique<CQRNDoc>(DocumentHost{host, host, settings, &timer}, dir.path(), std::move(transport));
        definition = dir.Write("PID2/3/KV4.def", std::string(kHeader) + items);
        ASSERT_TRUE(doc->IdentifyController(0, 1));
        ASSERT_TRUE(doc->LoadDefinitionFile(definition));
        ASSERT_TRUE(doc->ReadApplicationID());
        ASSERT_TRUE(doc->ReadDeclarations(1));
        host.statuses.clear();
    }
    std::int32_t Load() {
        return doc->LoadDataItems([this](std::int32_t index, const char* text, const float* value) {
            calls.push_back({index, text ? std::optional<std::string>(text) : std::nullopt,
                             value ? std::optional<float>(*value) : std::nullopt});
        });
    }
    // Ticks the timer n times; returns the calls these ticks made.
    std::vector<Call> Tick(int n = 1) {
        calls.clear();
        for (int i = 0; i < n; ++i) timer.Fire();
        return calls;
    }
    void Ram(std::uint16_t address, std::uint8_t value) { controller->SetRam(address, value); }
    CTCS_Monitor& monitor() { return *doc->monitor(); }

    TempDir dir;
    RecordingHost host;
    MemorySettings settings;
    RecordingTimer timer;
    std::unique_ptr<sim::Controller> controller;
    SimTransport* link = nullptr;
    std::unique_ptr<CQRNDoc> doc;
    std::string definition;
    std::vector<Call> calls;
};

std::string Item(const std::string& label, const std::string& body) {
    return "DataItem " + label + " {\n" + body + "}\n";
}

TEST_F(LiveDataTest, ItemsAreNumberedAndUnusedBlocksTakeNoPlace) {
    Start("[DataItems]\nDashboardUpdatePeriod 120\nDataLogUpdatePeriod 40\n" +
          Item("NumericValue", "LogicalName Throttle\nDefMonState 1\nDisplayFormula %.0f = M:TPS:*100/255\n") +
          Item("NumericValue", "LogicalName Unused\nDisplayFormula %.0f = M:GEAR:\n") +
          Item("NumericValue", "LogicalName XOnly\nCrosshairMode x\nCrosshairFormula X\nDisplayFormula M:TPS:\n") +
          Item("Gauge", "LogicalName OddType\nDefMonState 1\nDisplayFormula %.0f = M:GEAR:\n") +
          Item("EnumeratedText", "LogicalName Gear\nDefMonState 1\nDisplayFormula M:GEAR:\n"
                                 "EnumText0 N\nEnumText1 First\nEnumText2 Second\nEnumText4 Fourth\n"));
    EXPECT_EQ(Load(), 1);
    ASSERT_EQ(monitor().item_count(), 3);
    EXPECT_EQ(monitor().data_item(0).logicalName, "Throttle");
    EXPECT_EQ(monitor().data_item(0).monitorIndex, 0);
    EXPECT_EQ(monitor().data_item(1).logicalName, "XOnly");
    EXPECT_EQ(monitor().data_item(1).monitorIndex, live_data::kNoIndex);
    EXPECT_EQ(monitor().data_item(2).logicalName, "Gear");
    EXPECT_EQ(monitor().data_item(2).monitorIndex, 1);
    EXPECT_EQ(monitor().data_item(2).kind, DataItemKind::Enumerated);
    // Reading the texts stops at the first number without a key.
    EXPECT_EQ(monitor().data_item(2).enumTextCount, 3);
    EXPECT_EQ(monitor().monitor_item_count(), 2);
    EXPECT_EQ(timer.periods.back(), 120u);  // connected, nothing logged: the dashboard period

    Ram(sim::ram::kTps, 51);
    Ram(sim::ram::kGear, 2);
    // One item per tick, in file order; the crosshair item reports only its coordinate.
    auto first = Tick();
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].index, 0);
    EXPECT_EQ(first[0].text, "20");
    auto second = Tick();
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].index, live_data::kCrosshairXIndex);
    EXPECT_FALSE(second[0].text);
    EXPECT_FLOAT_EQ(*second[0].value, 51.0f);
    auto third = Tick();
    ASSERT_EQ(third.size(), 1u);
    EXPECT_EQ(third[0].index, 1);
    EXPECT_EQ(third[0].text, "Second");
    EXPECT_EQ(Tick()[0].index, 0);  // round again
}

TEST_F(LiveDataTest, LoggedItemsSetTheDataLogPeriodAndTwentyItemsAreKept) {
    std::string items = "[DataItems]\nDataLogUpdatePeriod 40\n";
    for (int i = 0; i < 25; ++i)
        items += Item("NumericValue", "LogicalName I" + std::to_string(i) + "\nDefMonState 1\nDefLogState " +
                                          (i == 3 ? "1" : "0") + "\nDisplayFormula %.0f = M:GEAR:\n");
    Start(items);
    EXPECT_EQ(Load(), 1);
    EXPECT_EQ(monitor().item_count(), 20);
    EXPECT_EQ(monitor().data_item(19).logicalName, "I19");
    EXPECT_EQ(monitor().log_item_count(), 1);
    EXPECT_EQ(monitor().data_item(3).logIndex, 0);
    EXPECT_EQ(timer.periods.back(), 40u);

    doc->UnloadDataItems(1);
    EXPECT_EQ(timer.periods.back(), 1000u);
    EXPECT_EQ(monitor().item_count(), 0);
    EXPECT_TRUE(Tick(3).empty());
}

TEST_F(LiveDataTest, LimitsCompareTheRawValueAndTextsAreCut) {
    Start("[DataItems]\n" +
          Item("NumericValue", "DefMonState 1\nMinValue 10\nMaxValue 100\nMaxErrorTxt Too high!\n"
                               "DisplayFormula %.1f = M:TPS: / 10\n") +
          Item("EnumeratedText", "DefMonState 1\nDisplayFormula M:GEAR: * 0.9\n"
                                 "EnumText0 Neutral\nEnumText1 First\nEnumText2 Secondary\nEnumText3 Third\n") +
          Item("NumericValue", "DefMonState 1\nDisplayFormula 7 * 3\n"));
    ASSERT_EQ(Load(), 1);
    struct Case {
        int tps, gear;
        const char *tpsText, *gearText;
    } cases[] = {
        {100, 3, "10.0", "Second"},  // 3 * 0.9 = 2.7 shows text number 2, cut to six characters
        {101, 1, "Too hi", "Neutra"},  // raw 101 is above 100, although the shown value would be 10.1
        {9, 0, "eL", "Neutra"},
        {10, 12, "1.0", "10"},  // 10.8 has no text: the number shows
    };
    for (const Case& c : cases) {
        Ram(sim::ram::kTps, static_cast<std::uint8_t>(c.tps));
        Ram(sim::ram::kGear, static_cast<std::uint8_t>(c.gear));
        auto got = Tick(3);
        ASSERT_EQ(got.size(), 3u);
        EXPECT_EQ(got[0].text, c.tpsText) << c.tps;
        EXPECT_EQ(got[1].text, c.gearText) << c.gear;
        // A formula that reads no RAM has raw 1000, above the default maximum 255.
        EXPECT_EQ(got[2].text, "eH");
    }
}

TEST_F(LiveDataTest, NumTicksSpacesThePollsOfAnItem) {
    Start("[DataItems]\n" + Item("NumericValue", "DefMonState 1\nNumTicks 3\nDisplayFormula %.0f = M:GEAR:\n"));
    ASSERT_EQ(Load(), 1);
    std::vector<int> polledAt;
    for (int tick = 1; tick <= 9; ++tick)
        if (!Tick().empty()) polledAt.push_back(tick);
    EXPECT_EQ(polledAt, (std::vector<int>{1, 4, 7}));

    // Two items: the slow one is skipped over while it is not due.
    Start("[DataItems]\n" + Item("NumericValue", "DefMonState 1\nNumTicks 3\nDisplayFormula %.0f = M:GEAR:\n") +
          Item("NumericValue", "DefMonState 1\nDisplayFormula %.0f = M:TPS:\n"));
    ASSERT_EQ(Load(), 1);
    std::vector<std::int32_t> order;
    for (int tick = 0; tick < 6; ++tick)
        for (const Call& c : Tick()) order.push_back(c.index);
    EXPECT_EQ(order, (std::vector<std::int32_t>{0, 1, 1, 1, 0, 1}));
}

TEST_F(LiveDataTest, CrosshairCoordinatesFollowTheDisplayValue) {
    Start("[DataItems]\n" +
          Item("NumericValue", "DefMonState 1\nDisplayFormula %.0f = M:TPS:*100/255\nCrosshairMode X\n"
                               "CrosshairFormula X/10\n") +
          Item("NumericValue", "DefMonState 1\nDisplayFormula %.1f = (M:VSS_NEW_H:*256+M:VSS_NEW_L:)/10\n"
                               "CrosshairMode y\nCrosshairFormula X*I:Gain:\n"));
    ASSERT_EQ(Load(), 1);
    Ram(sim::ram::kTps, 255);
    Ram(sim::ram::kVssNewH, 1);
    Ram(sim::ram::kVssNewL, 44);  // 300 tenths: 30.0 mph
    auto got = Tick(2);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].text, "100");
    EXPECT_EQ(got[1].index, live_data::kCrosshairXIndex);
    EXPECT_FLOAT_EQ(*got[1].value, 10.0f);
    // raw is the last RAM value read (44), within the default limits.
    EXPECT_EQ(got[2].text, "30.0");
    EXPECT_EQ(got[3].index, live_data::kCrosshairYIndex);
    EXPECT_FLOAT_EQ(*got[3].value, 90.0f);
}

TEST_F(LiveDataTest, LosingTheControllerSlowsTheTimerAndPollingResumesWithTheLastItem) {
    Start("[DataItems]\n" + Item("NumericValue", "DefMonState 1\nDisplayFormula %.0f = M:GEAR:\n") +
          Item("NumericValue", "DefMonState 1\nDisplayFormula %.0f = M:TPS:\n") +
          Item("NumericValue", "DefMonState 1\nNumTicks 5\nDisplayFormula %.0f = M:CCLUTCH:\n"));
    ASSERT_EQ(Load(), 1);
    Ram(sim::ram::kGear, 3);
    EXPECT_EQ(Tick()[0].text, "3");

    link->plugged = false;
    auto lost = Tick();
    ASSERT_EQ(lost.size(), 1u);
    EXPECT_EQ(lost[0].index, live_data::kLinkLostIndex);
    EXPECT_EQ(lost[0].text, "");
    EXPECT_EQ(monitor().is_connected(), 0);
    EXPECT_EQ(timer.periods.back(), 1000u);
    EXPECT_EQ(host.statuses.back(), "Controller Disconnected");
    const int opens = link->opens;
    EXPECT_TRUE(Tick(3).empty());  // each tick tries to reopen and identify
    EXPECT_EQ(link->opens, opens + 3);

    link->plugged = true;
    auto back = Tick();
    EXPECT_EQ(monitor().is_connected(), 1);
    EXPECT_EQ(timer.periods.back(), 100u);
    EXPECT_EQ(host.statuses.back(), "Demo connected: Product Version 2.2, Firmware Revision 3.3");
    // All items are due at once, starting with the last (whose NumTicks would otherwise wait).
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].index, 2);
    EXPECT_EQ(Tick()[0].index, 0);
    EXPECT_EQ(Tick()[0].index, 1);
}

TEST_F(LiveDataTest, AnUnknownRamNameDropsTheLinkAtEveryPollOfItsItem) {
    Start("[DataItems]\n" + Item("NumericValue", "DefMonState 1\nDisplayFormula %.0f = M:GEAR:\n") +
          Item("NumericValue", "DefMonState 1\nCrosshairMode X\nDisplayFormula %.0f = M:TPS:\n"
                               "CrosshairFormula X+M:NOSUCHVAR:\n"));
    ASSERT_EQ(Load(), 1);
    Ram(sim::ram::kTps, 7);
    EXPECT_EQ(Tick().size(), 1u);
    auto got = Tick();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].text, "7");
    EXPECT_EQ(got[1].index, live_data::kLinkLostIndex);
    EXPECT_EQ(got[1].text, "7");  // the text buffer still holds the last value
    EXPECT_EQ(monitor().is_connected(), 0);
    // The controller still answers: the next tick reconnects and polls the last item again.
    got = Tick();
    EXPECT_EQ(monitor().is_connected(), 0);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].index, 1);
    EXPECT_EQ(got[1].index, live_data::kLinkLostIndex);
}

TEST_F(LiveDataTest, WithoutItemsTheTimerOnlyKeepsTheLink) {
    Start("");
    EXPECT_EQ(Load(), 0);
    EXPECT_TRUE(Tick(2).empty());
    const auto identifies = controller->Stats().commands.count('v') ? controller->Stats().commands.at('v') : 0;
    Tick();
    EXPECT_EQ(controller->Stats().commands.at('v'), identifies + 1);
    // A link lost while nothing is loaded keeps the lost-link period when it comes back.
    monitor().mark_link_lost();
    EXPECT_EQ(timer.periods.back(), 1000u);
    Tick();
    EXPECT_EQ(monitor().is_connected(), 1);
    EXPECT_EQ(timer.periods.back(), 1000u);
}

TEST_F(LiveDataTest, LoadingWhileDisconnectedWaitsAtTheLostLinkPeriod) {
    Start("[DataItems]\n" + Item("NumericValue", "DefMonState 1\nDisplayFormula %.0f = M:GEAR:\n"));
    monitor().set_connected(0);
    ASSERT_EQ(Load(), 1);
    EXPECT_EQ(timer.periods.back(), 1000u);
    Ram(sim::ram::kGear, 4);
    auto got = Tick();  // reconnects, then polls in the same tick
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].text, "4");
    EXPECT_EQ(timer.periods.back(), 100u);
}

TEST_F(LiveDataTest, ADamagedSectionStaysBounded) {
    Start("[DataItems]\nDashboardUpdatePeriod 0\nDataLogUpdatePeriod 99999999\n" +
          Item("NumericValue", "DefMonState 1\nNumTicks 2000000000\nDisplayFormula %.0f = M:GEAR:\n") +
          Item("NumericValue", "DefMonState 1\nNumTicks -4\nDisplayFormula %.0f = M:TPS:\n"));
    ASSERT_EQ(Load(), 1);
    EXPECT_EQ(timer.periods.back(), 10u);  // a zero period would spin the timer
    EXPECT_EQ(monitor().data_item(0).tickLimit, 1000);
    EXPECT_EQ(monitor().data_item(1).tickLimit, 1);
    // Choosing the next item passes over the slow one without waiting for it.
    EXPECT_EQ(Tick(3).size(), 3u);

    // A receiver that unregisters itself while it is called ends the polling cleanly.
    Start("[DataItems]\n" + Item("NumericValue", "DefMonState 1\nCrosshairMode X\nCrosshairFormula X\n"
                                                  "DisplayFormula %.0f = M:GEAR:\n"));
    int seen = 0;
    const std::int32_t handle = doc->LoadDataItems([&](std::int32_t, const char*, const float*) {
        ++seen;
        doc->UnloadDataItems(1);
    });
    ASSERT_EQ(handle, 1);
    Tick(3);
    EXPECT_EQ(seen, 1);  // nothing reaches it after it unregistered, not even this tick's crosshair
    EXPECT_EQ(monitor().item_count(), 0);
}

TEST_F(LiveDataTest, TheDemoDefinitionShowsTheDrive) {
    sim::ControllerConfig config;
    config.hardware_version = 2;
    controller = std::make_unique<sim::Controller>(config);
    auto transport = std::make_unique<SimTransport>(*controller);
    doc = std::make_unique<CQRNDoc>(DocumentHost{host, host, settings, &timer}, dir.path(), std::move(transport));
    ASSERT_TRUE(doc->LoadDefinitionFile(std::string(KORVATH_SOURCE_DIR) + "/data/PID2/3/KV4.def"));
    ASSERT_TRUE(doc->ReadDeclarations(1));
    ASSERT_EQ(Load(), 1);
    const CTCS_Monitor& m = *doc->monitor();
    ASSERT_GE(m.item_count(), 6);
    bool hasX = false, hasY = false, hasEnum = false;
    for (int i = 0; i < m.item_count(); ++i) {
        const DataItem& item = m.data_item(i);
        if (item.kind == DataItemKind::Numeric) {
            EXPECT_TRUE(item.displayFormatUsable) << item.logicalName;
        }
        hasEnum |= item.kind == DataItemKind::Enumerated;
        hasX |= !item.crosshairMode.empty() && (item.crosshairMode[0] | 0x20) == 'x';
        hasY |= !item.crosshairMode.empty() && (item.crosshairMode[0] | 0x20) == 'y';
    }
    EXPECT_TRUE(hasX && hasY && hasEnum);

    // Mid-way through the pull-away: every monitored display gets a value, none an error text.
    controller->SetTime(15000);
    std::set<std::int32_t> shown;
    for (const Call& c : Tick(4 * m.item_count())) {
        ASSERT_NE(c.index, live_data::kLinkLostIndex);
        if (c.index >= 0 && c.index < live_data::kCrosshairXIndex) {
            shown.insert(c.index);
            ASSERT_TRUE(c.text);
            EXPECT_FALSE(c.text->empty()) << c.index;
            EXPECT_NE(*c.text, "eH");
            EXPECT_NE(*c.text, "eL");
        }
    }
    EXPECT_EQ(static_cast<int>(shown.size()), m.monitor_item_count());
}

}  // namespace
}  // namespace korvath
