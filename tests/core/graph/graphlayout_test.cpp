// Layout and drawing of the graph engine, asserted on the recorded primitives.

#include <algorithm>
#include <cstring>

#include "graph_fixture.h"

namespace korvath::test {
namespace {

using Kind = RecordingSurface::Kind;

TEST(GraphEngineConstruction, DefaultsPaletteLabelsAndLinks) {
    CGraphEngine engine(50, 10);
    std::int16_t traces = 0;
    std::int16_t points = 0;
    engine.GetSize(traces, points);
    EXPECT_EQ(traces, 50);
    EXPECT_EQ(points, 10);
    EXPECT_EQ(engine.TraceAt(0).color, 0xFF0000u);
    EXPECT_EQ(engine.TraceAt(18).color, 0x0080FFu);
    EXPECT_EQ(engine.TraceAt(21).color, 0x00FF00u);  // the palette repeats every 20 traces
    EXPECT_EQ(engine.TraceAt(49).color, engine.TraceAt(9).color);
    for (int t = 0; t < 50; ++t) {
        EXPECT_EQ(engine.TraceAt(t).link, t);
        EXPECT_EQ(engine.TraceAt(t).visible, 0);
    }
    EXPECT_STREQ(engine.ColumnLabel(0), "0");
    EXPECT_STREQ(engine.ColumnLabel(9), "9");
    EXPECT_EQ(engine.GetBackgroundColor(), 0xFFFFFFu);
    EXPECT_EQ(engine.FeatureFlags(), 0xFF);
}

TEST(GraphEngineConstruction, UnusableCountsGiveAnEmptyEngine) {
    CGraphEngine engine(0, 10);
    EXPECT_EQ(engine.TraceCount(), 0);
    CGraphEngine onePoint(5, 1);
    EXPECT_EQ(onePoint.TraceCount(), 0);
    RecordingSurface surface;
    onePoint.SetPlotRect(0, 0, 400, 300);
    onePoint.Draw(surface);  // axes only, no crash
    EXPECT_EQ(onePoint.OnButtonDown(0, 50, 50), 0);
    onePoint.OnKey(graph::kKeyRight, 1, 0);
    EXPECT_EQ(onePoint.CursorColumn(), -1);
}

TEST(GraphEngineSetters, RangeRules) {
    CGraphEngine engine(50, 10);
    engine.SetTraceColor(50, 0x123456);  // past the end: ignored
    engine.SetTraceColor(3, 0x123456);
    EXPECT_EQ(engine.TraceAt(3).color, 0x123456u);

    EXPECT_EQ(engine.SetTraceLink(2, 7), 7);
    EXPECT_EQ(engine.SetTraceLink(2, graph::kLinkQuery), 7);
    EXPECT_EQ(engine.SetTraceLink(2, 50), 7);
    EXPECT_EQ(engine.SetTraceLink(2, -5), 7);
    EXPECT_EQ(engine.SetTraceLink(2, graph::kLinkToSelf), 2);

    EXPECT_EQ(engine.SetLinking(1), 1);
    EXPECT_EQ(engine.SetLinking(graph::kLinkingQuery), 1);

    const std::string longName(40, 'n');
    const std::string longFormat(100, 'f');
    engine.SetTraceText(4, longName, longFormat);
    EXPECT_EQ(std::strlen(engine.TraceAt(4).name), 30u);
    EXPECT_EQ(std::strlen(engine.TraceAt(4).calloutFormat), 80u);
}

struct AxisCase {
    float low;
    float high;
    int step;
    int axisMin;
    int axisMax;
};

class AxisRange : public GraphTest, public ::testing::WithParamInterface<AxisCase> {};

TEST_P(AxisRange, StepAndEnds) {
    const AxisCase& c = GetParam();
    std::array<float, 10> values = Flat(c.low);
    values[5] = c.high;
    SetTrace(0, values);
    Redraw();
    EXPECT_EQ(engine.GridStep(), c.step);
    EXPECT_EQ(engine.AxisMinimum(), c.axisMin);
    EXPECT_EQ(engine.AxisMaximum(), c.axisMax);
}

INSTANTIATE_TEST_SUITE_P(Values, AxisRange,
                         ::testing::Values(AxisCase{50, 50, 1, 49, 51},          // all equal: span 0
                                           AxisCase{100, 120, 5, 95, 125},       // span 20
                                           AxisCase{500, 2800, 500, 0, 3000},    // minimum below the range
                                           AxisCase{500, 3000, 500, 0, 3500},    // a whole step above
                                           AxisCase{0, 7, 1, 0, 8},              // span 7
                                           AxisCase{0, 8, 5, 0, 10},             // span 8
                                           AxisCase{0, 39, 5, 0, 40},            // span 39
                                           AxisCase{0, 40, 10, 0, 50},           // span 40
                                           AxisCase{0, 199, 25, 0, 200},         // span 199
                                           AxisCase{107, 140, 5, 100, 145},      // minimum rounded down
                                           AxisCase{-7, 20, 5, -10, 25},         // negative minimum
                                           AxisCase{-300, -120, 25, -325, -75},  // all negative
                                           AxisCase{0, 30000, 5000, 0, 35000}));

TEST_F(GraphTest, NoVisibleTraceDrawsOnlyTheAxes) {
    SetTrace(0, Ramp(0, 10), false);
    Redraw();
    EXPECT_EQ(engine.AxisMinimum(), 0);
    EXPECT_EQ(engine.AxisMaximum(), 1);
    EXPECT_EQ(engine.GridStep(), 1);
    EXPECT_TRUE(surface.LinesIn(0xFF0000).empty());
    // Ten vertical and two horizontal grid lines, two panels, ten column and two value labels.
    EXPECT_EQ(surface.LinesIn(0xD0D0D0).size(), 12u);
    EXPECT_EQ(surface.OfKind(Kind::Rectangle).size(), 2u);
    EXPECT_EQ(surface.Texts(), (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "1"}));
}

TEST_F(GraphTest, ScalesOriginsAndGrid) {
    std::array<float, 10> v = Ramp(0, 10);
    v[9] = 100;
    SetTrace(0, v);
    Redraw();
    // Axis 0 ... 125 in steps of 25; value labels "125" are 18 pixels wide.
    EXPECT_EQ(engine.GridStep(), 25);
    EXPECT_EQ(engine.AxisMaximum(), 125);
    EXPECT_EQ(engine.ValueLabelWidth(), 18);
    EXPECT_FLOAT_EQ(engine.XScale(), (450.0f - 18 - 5) / 9);
    EXPECT_FLOAT_EQ(engine.YScale(), (360.0f - 12 - 5 - 2) / 125);
    EXPECT_EQ(engine.OriginX(), 20 + 5 + 18 + 4);
    EXPECT_EQ(engine.OriginY(), 20 + 360 - 12 - 5 - 2);
    // Truncated, never rounded: 3 x 47.444 = 142.33 -> 142; 50 x 2.728 = 136.4 -> 136.
    EXPECT_EQ(engine.ColumnToX(3), 47 + 142);
    EXPECT_EQ(engine.ValueToY(50), 361 - 136);

    const auto grid = surface.LinesIn(0xD0D0D0);
    std::vector<RecordingSurface::Op> horizontal;
    std::copy_if(grid.begin(), grid.end(), std::back_inserter(horizontal),
                 [](const auto& op) { return op.y1 == op.y2; });
    ASSERT_EQ(horizontal.size(), 6u);  // 0, 25, ..., 125
    EXPECT_EQ(horizontal[0].x1, 47 - 5);
    EXPECT_EQ(horizontal[0].x2, engine.ColumnToX(9) + 1);
    EXPECT_EQ(horizontal[1].y1, 361 - 68);  // trunc(1 x 2.728 x 25) = 68
    const auto texts = surface.Texts();
    EXPECT_EQ(texts.back(), "125");
    // The vertical lines reach from below the origin to the axis maximum.
    const auto& first = grid.front();
    EXPECT_EQ(first.x1, 47);
    EXPECT_EQ(first.y1, 361 + 5);
    EXPECT_EQ(first.y2, 361 - 341);
}

TEST_F(GraphTest, TracesFromHighestIndexDownActiveLast) {
    SetTrace(0, Ramp(0, 10));
    SetTrace(1, Ramp(5, 10));
    SetTrace(2, Ramp(10, 10), false);
    SetTrace(3, Ramp(20, 5));
    Redraw();
    ASSERT_EQ(Click(1, 4), 1);
    ASSERT_EQ(engine.ActiveTrace(), 1);
    Redraw();
    std::vector<Color> order;
    for (const auto& op : surface.OfKind(Kind::Line)) {
        if (op.pen.width == 2 && (order.empty() || order.back() != op.pen.color)) order.push_back(op.pen.color);
    }
    EXPECT_EQ(order, (std::vector<Color>{engine.TraceAt(3).color, engine.TraceAt(0).color, engine.TraceAt(1).color}));
    // Nine segments per trace, each with round ends.
    EXPECT_EQ(surface.LinesIn(engine.TraceAt(3).color).size(), 9u);
    EXPECT_EQ(surface.LinesIn(engine.TraceAt(3).color).front().pen.cap, PenCap::Round);
}

TEST_F(GraphTest, SelectedPointsGetMarkers) {
    SetTrace(0, Ramp(0, 10));
    Redraw();
    ASSERT_EQ(Click(0, 9), 1);
    ASSERT_EQ(Click(0, 0, graph::kCtrl), 1);
    Redraw();
    const auto ellipses = surface.OfKind(Kind::Ellipse);
    ASSERT_EQ(ellipses.size(), 2u);
    const int r = 5;
    EXPECT_EQ(ellipses[0].x1, X(0) - r);
    EXPECT_EQ(ellipses[0].y2, Y(0, 0) + r);
    EXPECT_EQ(ellipses[1].x2, X(9) + r);  // the last point after the loop
    for (const auto& e : ellipses) {
        EXPECT_EQ(e.brush, 0x0080FFu);
        EXPECT_EQ(e.pen.color, 0xFF0000u);
        EXPECT_EQ(e.pen.width, 1);
    }
    // The marker of point 0 follows the segment to point 1, and the trace pen is back after it.
    const auto& ops = surface.ops();
    const auto marker = std::find_if(ops.begin(), ops.end(), [](const auto& op) { return op.kind == Kind::Ellipse; });
    ASSERT_NE(marker, ops.end());
    EXPECT_EQ((marker - 1)->x2, X(1));
    EXPECT_EQ((marker + 1)->pen.width, 2);
}

TEST_F(GraphTest, AllPointsEqualAndNegativeValuesDrawInsideThePlot) {
    SetTrace(0, Flat(50));
    SetTrace(1, Ramp(-40, 5));
    Redraw();
    EXPECT_EQ(engine.AxisMinimum(), -50);
    for (const auto& op : surface.OfKind(Kind::Line)) {
        if (op.pen.width != 2) continue;
        EXPECT_LE(op.y1, engine.OriginY());
        EXPECT_GE(op.y1, 20);
    }
    const auto texts = surface.Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "-50"), texts.end());
}

TEST_F(GraphTest, WindowTooSmallForTheLabelsCollapsesWithoutHits) {
    engine.SetPlotRect(20, 20, 10, 8);
    SetTrace(0, Ramp(0, 1000));
    Redraw();
    EXPECT_EQ(engine.XScale(), 0.0f);
    EXPECT_EQ(engine.YScale(), 0.0f);
    EXPECT_EQ(engine.OnButtonDown(0, engine.OriginX(), engine.OriginY()), 0);
    EXPECT_EQ(engine.OnMouseMove(0, engine.OriginX(), engine.OriginY()), 0);
    engine.OnKey(graph::kKeyRight, 1, 0);  // keys still work on the data
    EXPECT_EQ(engine.CursorColumn(), 0);
    EXPECT_EQ(engine.SetCrosshair(3, 500), 1);
    Redraw();
    EXPECT_EQ(engine.DrawCrosshair(surface), 1);
}

TEST_F(GraphTest, HugeValuesStayWithinPixelRange) {
    std::array<float, 10> v = Ramp(0, 1);
    v[3] = 3.0e38f;
    v[4] = -3.0e38f;
    SetTrace(0, v);
    Redraw();
    EXPECT_LE(engine.AxisMaximum() - engine.AxisMinimum(), 3000000);
    EXPECT_LT(surface.LinesIn(0xD0D0D0).size(), 400u);
}

}  // namespace
}  // namespace korvath::test
