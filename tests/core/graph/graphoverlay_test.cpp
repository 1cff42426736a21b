// The crosshair, the callout and its format check, and drawing without heap allocation.

#include <atomic>
#include <cstdlib>
#include <new>

#include "graph/calloutformat.h"
#include "graph_fixture.h"

#include "support/allocation_counter.h"

namespace korvath::test {
namespace {

using Kind = RecordingSurface::Kind;

TEST(GraphCrosshair, SetCrosshairRules) {
    CGraphEngine engine;
    EXPECT_EQ(engine.SetCrosshair(-1, -1), 0);  // already hidden
    EXPECT_EQ(engine.SetCrosshair(3.5f, 40), 1);
    EXPECT_EQ(engine.SetCrosshair(3.5f, 40), 0);
    EXPECT_EQ(engine.SetCrosshair(-1000, 40), 0);
    EXPECT_EQ(engine.SetCrosshair(-1000, 5), 1);  // moves only y
    EXPECT_EQ(engine.CrosshairX(), 3.5f);
    EXPECT_EQ(engine.CrosshairY(), 5.0f);
    EXPECT_EQ(engine.SetCrosshair(6, -1000), 1);
    EXPECT_EQ(engine.CrosshairX(), 6.0f);
    EXPECT_EQ(engine.CrosshairY(), 5.0f);
    EXPECT_EQ(engine.SetCrosshair(-1, 123), 1);  // hides both
    EXPECT_EQ(engine.CrosshairX(), -1.0f);
    EXPECT_EQ(engine.CrosshairY(), -1.0f);
    EXPECT_EQ(engine.SetCrosshair(-1, -1), 0);

    engine.SetCrosshair(2, 2);
    engine.SetFeatureFlags(static_cast<std::uint8_t>(0xFF & ~graph::kCrosshairEnabled));
    EXPECT_EQ(engine.SetCrosshair(4, 4), 0);
    EXPECT_EQ(engine.CrosshairX(), -1.0f);
}

TEST_F(GraphTest, CrosshairDrawsXorDiscDottedArmsAndRedRing) {
    SetTrace(0, Ramp(0, 10));
    Redraw();
    surface.Clear();
    EXPECT_EQ(engine.DrawCrosshair(surface), 0);
    EXPECT_TRUE(surface.ops().empty());

    engine.SetCrosshair(4.5f, 60);
    EXPECT_EQ(engine.DrawCrosshair(surface), 1);
    const int cx = engine.OriginX() + static_cast<int>(engine.XScale() * 4.5f);
    const int cy = engine.OriginY() - static_cast<int>(60 * engine.YScale());
    const auto& ops = surface.ops();
    ASSERT_EQ(ops.size(), 6u);

    EXPECT_EQ(ops[0].kind, Kind::Ellipse);
    EXPECT_TRUE(ops[0].xorMode);
    EXPECT_EQ(ops[0].brush, 0xFFFFFFu);
    EXPECT_EQ(ops[0].pen.color, 0xFFFFFFu);
    EXPECT_EQ(ops[0].pen.width, 2);
    EXPECT_EQ(ops[0].x1, cx - 19);
    EXPECT_EQ(ops[0].y2, cy + 19);

    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(ops[i].kind, Kind::Line);
        EXPECT_FALSE(ops[i].xorMode);  // the previous mode is back
        EXPECT_EQ(ops[i].pen.style, PenStyle::Dot);
        EXPECT_EQ(ops[i].pen.width, 5);
        EXPECT_EQ(ops[i].pen.cap, PenCap::Square);
        EXPECT_EQ(ops[i].pen.color, 0x0000FFu);
    }
    EXPECT_EQ(ops[1].x1, cx + 12);
    EXPECT_EQ(ops[1].x2, cx + 60);
    EXPECT_EQ(ops[2].x2, cx - 60);
    EXPECT_EQ(ops[3].y1, cy + 12);
    EXPECT_EQ(ops[4].y2, cy - 60);

    EXPECT_EQ(ops[5].kind, Kind::Ellipse);
    EXPECT_FALSE(ops[5].hasBrush);
    EXPECT_EQ(ops[5].pen.color, 0x0000FFu);
    EXPECT_EQ(ops[5].pen.style, PenStyle::Solid);
    EXPECT_EQ(ops[5].x1, cx - 20);
    EXPECT_EQ(ops[5].x2, cx + 20);

    // The bounds a view repaints hold every line and ring with half its pen around it.
    int left = 0, top = 0, right = 0, bottom = 0;
    ASSERT_TRUE(engine.CrosshairBounds(left, top, right, bottom));
    for (const auto& op : ops) {
        const int half = (op.pen.width + 1) / 2;
        EXPECT_LE(left, std::min(op.x1, op.x2) - half);
        EXPECT_LE(top, std::min(op.y1, op.y2) - half);
        EXPECT_GE(right, std::max(op.x1, op.x2) + half + 1);
        EXPECT_GE(bottom, std::max(op.y1, op.y2) + half + 1);
    }

    engine.SetCrosshair(-1, -1);
    surface.Clear();
    EXPECT_EQ(engine.DrawCrosshair(surface), 0);
    EXPECT_TRUE(surface.ops().empty());
    EXPECT_FALSE(engine.CrosshairBounds(left, top, right, bottom));
}

class GraphCallout : public GraphTest {
protected:
    GraphCallout() {
        SetTrace(0, Ramp(0, 10));
        engine.SetTraceText(0, "Upshift", "Col %s: %.1f mph (%s) %d/%d");
        Redraw();
        surface.Clear();
    }
};

TEST_F(GraphCallout, FiveArgumentsLeaderAndText) {
    StepDocument document;
    document.SetRaw(0, 3, 12);  // stored value 12 x 10 + 3 = 123
    engine.SetValueCallback(&document);
    ASSERT_EQ(Click(0, 3), 1);
    surface.Clear();
    EXPECT_EQ(engine.DrawCallout(surface), 1);

    const auto texts = surface.OfKind(Kind::Text);
    ASSERT_EQ(texts.size(), 1u);
    const std::string expected = "Col 3: 30.0 mph (3) 120/123";
    EXPECT_EQ(texts[0].text, expected);
    EXPECT_TRUE(texts[0].opaque);
    EXPECT_EQ(texts[0].textBackground, 0x00FFFFu);
    EXPECT_EQ(texts[0].textColor, 0x000000u);
    EXPECT_EQ(texts[0].hAlign, HAlign::Left);
    EXPECT_EQ(texts[0].vAlign, VAlign::Bottom);
    EXPECT_EQ(texts[0].x1, engine.OriginX() + 1);
    EXPECT_EQ(texts[0].y1, 20);

    const int anchorX = engine.OriginX() + 1 + static_cast<int>(expected.size()) * 6;
    const auto lines = surface.OfKind(Kind::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].pen.color, 0x00FFFFu);  // wide yellow line ...
    EXPECT_EQ(lines[0].pen.width, 3);
    EXPECT_EQ(lines[0].x1, anchorX);
    EXPECT_EQ(lines[0].y1, 20);
    EXPECT_EQ(lines[0].x2, X(3));
    EXPECT_EQ(lines[0].y2, Y(0, 3));
    EXPECT_EQ(lines[1].pen.color, 0x000000u);  // ... with a thin dark core drawn back
    EXPECT_EQ(lines[1].pen.width, 1);
    EXPECT_EQ(lines[1].x2, anchorX);
    // The selected point's marker lies over the leader.
    const auto ellipses = surface.OfKind(Kind::Ellipse);
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_EQ(ellipses[0].brush, 0x0080FFu);

    // Paints that no input caused (the crosshair's) keep it; the next input clears it.
    EXPECT_EQ(engine.CalloutTrace(), 0);
    surface.Clear();
    EXPECT_EQ(engine.DrawCallout(surface), 1);
    engine.OnMouseMove(0, 0, 0);  // nowhere near a point
    EXPECT_EQ(engine.CalloutTrace(), -1);
    surface.Clear();
    EXPECT_EQ(engine.DrawCallout(surface), 0);
    EXPECT_TRUE(surface.ops().empty());

    // What the status bar says while the point is dragged or stepped.
    EXPECT_EQ(engine.PointStatusText(0, 3), "Upshift, column 3: 30 (stored 123)");
    EXPECT_EQ(engine.PointStatusText(0, 99), "");
}

TEST_F(GraphCallout, WithoutCallbackTheStoredValueIsThePointRounded) {
    engine.SetTraceText(0, "Upshift", "%s|%.2f|%s|%d|%d");
    engine.SetPointValue(0, 7, 74.6f);
    engine.RequestCallout(0, 7);
    EXPECT_EQ(engine.DrawCallout(surface), 1);
    EXPECT_EQ(surface.Texts(), std::vector<std::string>{"7|74.60|7|80|75"});
    EXPECT_TRUE(surface.OfKind(Kind::Ellipse).empty());  // not selected: no marker
}

TEST_F(GraphCallout, EmptyOrUnfitFormatsDrawNothing) {
    for (const char* format : {"", "%.0s", "%s %s", "%d", "%s %f %s %d %d %d", "%n", "%s %lf %s %s", "%99999d",
                               "%*d", "%1$s", "100%", "%s %Lf"}) {
        engine.SetTraceText(0, "Upshift", format);
        engine.RequestCallout(0, 2);
        surface.Clear();
        EXPECT_EQ(engine.DrawCallout(surface), 0) << format;
        EXPECT_TRUE(surface.ops().empty()) << format;
        EXPECT_EQ(engine.CalloutTrace(), -1) << format;
    }
}

TEST_F(GraphCallout, LongTextIsDrawnWhole) {
    engine.SetTraceText(0, "Upshift", "%200s|%200.3f|%200s|%200d|%200d");
    engine.RequestCallout(0, 1);
    EXPECT_EQ(engine.DrawCallout(surface), 1);
    const auto texts = surface.Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].size(), 1004u);
    EXPECT_EQ(texts[0].substr(texts[0].size() - 2), "10");
}

TEST_F(GraphCallout, DisabledCalloutIsNeverRequested) {
    engine.SetFeatureFlags(static_cast<std::uint8_t>(0xFF & ~graph::kCalloutEnabled));
    ASSERT_EQ(Click(0, 3), 1);
    EXPECT_EQ(engine.CalloutTrace(), -1);
    EXPECT_EQ(engine.DrawCallout(surface), 0);
}

TEST(CalloutFormat, AcceptsConversionsThatFitTheFiveArguments) {
    for (const char* ok : {"", "plain", "%s", "%-6.3s", "%s %g", "%s %8.2lf %s", "%s %e %s %5d %x",
                           "%s %.0f %s %i %04d", "100%% %s", "%s %a %s %hd %c"}) {
        EXPECT_TRUE(IsValidCalloutFormat(ok)) << ok;
    }
    for (const char* bad : {"%d", "%f", "%s %s", "%s %d", "%s %f %d", "%s %f %s %f", "%s %f %s %s",
                            "%s %f %s %d %d %d", "%s %f %s %d %s", "%p", "%n", "%ls", "%s %Lf", "%s %f %s %ld",
                            "%*s", "%.*s", "%2$s", "%", "%s %", "%256s", "%.300s", "%-"}) {
        EXPECT_FALSE(IsValidCalloutFormat(bad)) << bad;
    }
    EXPECT_FALSE(IsValidCalloutFormat(std::string_view("%s\0%n", 5)));
    char buffer[8];
    EXPECT_EQ(FormatCallout(buffer, sizeof buffer, "%s=%.1f", "4", 2.25, 0, 0), 5);
    EXPECT_STREQ(buffer, "4=2.2");
    EXPECT_EQ(FormatCallout(buffer, sizeof buffer, "%d", "4", 2.25, 0, 0), -1);
    EXPECT_STREQ(buffer, "");
}

TEST_F(GraphTest, DrawingAndInputAllocateNothing) {
    for (int t = 0; t < 50; ++t) {
        engine.SetTraceValues(t, Ramp(static_cast<float>(t * 20), 7).data());
        engine.SetTraceVisible(t, 1);
        engine.SetTraceText(t, "Trace", "%s: %.1f (%s) %d %d");
    }
    engine.SetLinking(1);
    for (int t = 0; t < 4; ++t) engine.SetTraceLink(t, t + 1);
    engine.SetCrosshair(3.2f, 400);
    CountingSurface counting;
    engine.Draw(counting);
    ASSERT_EQ(engine.OnButtonDown(0, engine.ColumnToX(4), engine.ValueToY(engine.PointAt(0, 4).value)), 1);
    engine.DrawCallout(counting);  // first use of the callout text

    const long before = korvath::testing::AllocationCount();
    for (int i = 0; i < 20; ++i) {
        engine.OnMouseMove(1, engine.ColumnToX(4), engine.OriginY() - 100 - i);
        engine.Draw(counting);
        engine.DrawCrosshair(counting);
        engine.DrawCallout(counting);
        engine.OnKey(graph::kKeyUp, 1, graph::kShift);
        engine.OnMouseMove(0, engine.ColumnToX(6), engine.OriginY() - 50);
    }
    engine.OnButtonUp();
    EXPECT_EQ(korvath::testing::AllocationCount() - before, 0);
    EXPECT_GT(counting.primitives, 20u * 500u);
}

}  // namespace
}  // namespace korvath::test
