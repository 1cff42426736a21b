#include "layout/dashboard_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/document_fixture.h"
#include "graph/graphengine.h"

namespace korvath {
namespace {

using testing::DocumentTest;

std::string Item(const std::string& type, const std::string& name, int monitored, const std::string& keys = "") {
    return "DataItem " + type + " {\nLogicalName " + name + "\nDisplayName " + name + "\nDefMonState " +
           std::to_string(monitored) + "\nDisplayFormula %.0f = 1\n" + keys + "}\n";
}

class DashboardLayoutTest : public DocumentTest {
protected:
    DashboardLayout Lay(const std::string& items) {
        EXPECT_TRUE(LoadDefinition("[DataItems]\n" + items));
        return LayOutDashboard(*doc);
    }
};

TEST_F(DashboardLayoutTest, CellsInOneRow) {
    const DashboardLayout d =
        Lay(Item("NumericValue", "A", 1, "DefDisplayColor 0x00008000\nToolTip Tip\nHelpText Help\n") +
            Item("NumericValue", "Hidden", 0) + Item("EnumeratedText", "B", 1) + Item("Gauge", "Odd", 1) +
            Item("NumericValue", "C", 1));
    ASSERT_EQ(d.cells.size(), 4u);
    EXPECT_EQ(d.displayCount, 3);
    EXPECT_EQ(d.cells[0].cell, (ControlRect{10, 10, 100, 80}));
    EXPECT_EQ(d.cells[0].value, (ControlRect{15, 30, 95, 80}));
    EXPECT_EQ(d.cells[0].caption, (ControlRect{10, 10, 100, 30}));
    EXPECT_EQ(d.cells[0].valueColor, 0x008000u);
    EXPECT_EQ(d.cells[0].texts.toolTip, "Tip");
    EXPECT_EQ(d.cells[0].texts.help, "Help");
    // The unmonitored item leaves no gap; the item of another type leaves an empty cell and no
    // display number, as the poller does not number it either.
    EXPECT_EQ(d.cells[1].cell, (ControlRect{110, 10, 200, 80}));
    EXPECT_EQ(d.cells[1].displayName, "B");
    EXPECT_EQ(d.cells[1].valueColor, dashboard::kDefaultValueColor);
    EXPECT_FALSE(d.cells[2].hasDisplay);
    EXPECT_EQ(d.cells[2].cell, (ControlRect{210, 10, 300, 80}));
    EXPECT_EQ(d.cells[3].cell.left, 310);
    EXPECT_EQ(d.cells[3].displayName, "C");
}

TEST_F(DashboardLayoutTest, AtMostThirtyDisplays) {
    std::string items;
    for (int i = 0; i < 35; ++i) items += Item("NumericValue", std::string("I") + std::to_string(i), 1);
    const DashboardLayout d = Lay(items);
    EXPECT_EQ(d.displayCount, 30);
    EXPECT_EQ(d.droppedItems, 5);
    EXPECT_EQ(d.cells.back().displayName, "I29");
    ASSERT_TRUE(LoadDefinition("[NotData]\n"));
    EXPECT_FALSE(LayOutDashboard(*doc).hasSection);
}

TEST(DashboardStateTest, WaitingConnectedAndLost) {
    CGraphEngine graph;
    DashboardState state;
    state.SetGraph(&graph);
    EXPECT_EQ(state.title(), dashboard::kTitleEmpty);

    DashboardState::Change c = state.Build(3);
    EXPECT_TRUE(c.title);
    EXPECT_EQ(state.title(), dashboard::kTitleWaiting);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(state.DisplayEnabled(i));
        EXPECT_EQ(state.DisplayText(i), "--");
    }

    c = state.OnLiveData(2, "45 mph", nullptr);
    EXPECT_TRUE(c.title);
    EXPECT_EQ(c.display, 2);
    EXPECT_EQ(state.title(), dashboard::kTitleConnected);
    EXPECT_TRUE(state.DisplayEnabled(2));
    EXPECT_FALSE(state.DisplayEnabled(0));
    EXPECT_EQ(state.DisplayText(2), "45 mph");
    EXPECT_EQ(state.OnLiveData(3, "beyond", nullptr).display, -1);  // no such display

    // The crosshair: x in columns, y kept; a repeat changes nothing; a coordinate that is not a
    // number is not shown.
    const float y = 30.0f, x = 4.5f;
    EXPECT_TRUE(state.OnLiveData(10001, nullptr, &y).repaintView);
    EXPECT_TRUE(state.OnLiveData(10000, nullptr, &x).repaintView);
    EXPECT_FALSE(state.OnLiveData(10000, nullptr, &x).repaintView);
    EXPECT_FLOAT_EQ(graph.CrosshairX(), 4.5f);
    EXPECT_FLOAT_EQ(graph.CrosshairY(), 30.0f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(state.OnLiveData(10000, nullptr, &nan).repaintView);
    EXPECT_FLOAT_EQ(graph.CrosshairX(), 4.5f);

    c = state.OnLiveData(-1000, "", nullptr);
    EXPECT_EQ(state.title(), dashboard::kTitleWaiting);
    EXPECT_TRUE(c.repaintView);
    EXPECT_EQ(graph.CrosshairX(), graph::kHidden);
    EXPECT_FALSE(state.DisplayEnabled(2));
    EXPECT_EQ(state.DisplayText(2), "45 mph");  // the last value stays, greyed

    state.OnLiveData(0, "1", nullptr);
    EXPECT_EQ(state.title(), dashboard::kTitleConnected);
    // Torn down while connected: the empty dashboard reads "Dashboard".
    c = state.Teardown();
    EXPECT_TRUE(c.title);
    EXPECT_EQ(state.title(), dashboard::kTitleEmpty);
    EXPECT_EQ(state.connected(), 0);
    EXPECT_EQ(state.displayCount(), 0);
    EXPECT_EQ(state.OnLiveData(0, "1", nullptr).display, -1);
}

TEST(DashboardStateTest, NoDisplaysNoTitleChange) {
    DashboardState state;
    EXPECT_FALSE(state.Build(0).title);
    EXPECT_EQ(state.title(), dashboard::kTitleEmpty);
    const float x = 1.0f;
    EXPECT_FALSE(state.OnLiveData(10000, nullptr, &x).repaintView);  // no graph
}

}  // namespace
}  // namespace korvath
