// Read-only overlay curves of a compared calibration: drawn dashed in the trace's colour before
// every editable trace, counted into the axis, never hit or edited.

#include "graph_fixture.h"

namespace korvath::test {
namespace {

using Kind = RecordingSurface::Kind;

TEST_F(GraphTest, OverlayIsDashedInTheTraceColourBehindTheEditableTraces) {
    SetTrace(2, Ramp(10, 10));
    engine.SetTraceColor(2, 0x00C000);
    engine.SetOverlayValues(2, Ramp(20, 10).data());
    Redraw();

    std::vector<const RecordingSurface::Op*> dashed, solid;
    std::size_t lastDashed = 0, firstSolidTrace = surface.ops().size();
    for (std::size_t i = 0; i < surface.ops().size(); ++i) {
        const auto& op = surface.ops()[i];
        if (op.kind != Kind::Line || op.pen.color != 0x00C000u) continue;
        if (op.pen.style == PenStyle::Dash) {
            dashed.push_back(&op);
            lastDashed = i;
        } else {
            solid.push_back(&op);
            firstSolidTrace = std::min(firstSolidTrace, i);
        }
    }
    ASSERT_EQ(dashed.size(), 9u);
    ASSERT_EQ(solid.size(), 9u);
    EXPECT_LT(lastDashed, firstSolidTrace);
    EXPECT_EQ(dashed[0]->y1, engine.ValueToY(20));
    EXPECT_EQ(dashed[8]->y2, engine.ValueToY(110));
    EXPECT_EQ(dashed[0]->pen.width, engine.Metrics().tracePenWidth);

    engine.SetOverlayValues(2, nullptr);
    Redraw();
    for (const auto& op : surface.ops()) EXPECT_NE(op.pen.style, PenStyle::Dash);
}

TEST_F(GraphTest, OverlayWidensTheAxisButIsNeverHitOrEdited) {
    SetTrace(0, Flat(100));
    Redraw();
    const int axisBefore = engine.AxisMaximum();
    engine.SetOverlayValues(0, Flat(900).data());
    EXPECT_TRUE(engine.HasOverlay(0));
    EXPECT_FLOAT_EQ(engine.OverlayValue(0, 3), 900);
    Redraw();
    EXPECT_GT(engine.AxisMaximum(), axisBefore);
    EXPECT_GE(engine.AxisMaximum(), 900);

    // A click on the dashed curve finds no editable point, and dragging changes no overlay value.
    EXPECT_EQ(engine.OnButtonDown(0, X(4), engine.ValueToY(900)), 0);
    engine.OnMouseMove(1, X(4), engine.ValueToY(700));
    engine.OnButtonUp();
    EXPECT_FLOAT_EQ(engine.OverlayValue(0, 4), 900);

    engine.ClearOverlays();
    EXPECT_FALSE(engine.HasOverlay(0));
    EXPECT_FLOAT_EQ(engine.OverlayValue(0, 4), 0);
    EXPECT_FALSE(engine.HasOverlay(-1));
    engine.SetOverlayValues(50, Flat(1).data());  // outside the engine: ignored
}

}  // namespace
}  // namespace korvath::test
