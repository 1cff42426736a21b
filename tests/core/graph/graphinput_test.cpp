// Mouse and keyboard input of the graph engine: hit testing, selection, dragging, keys.

#include <cmath>

#include "graph_fixture.h"

namespace korvath::test {
namespace {

class GraphInput : public GraphTest {
protected:
    GraphInput() {
        SetTrace(0, Ramp(0, 10));  // axis 0 ... 100, point (0, 0) sits exactly on the origin
        Redraw();
    }
};

TEST_F(GraphInput, HitToleranceIsTwentyPixelsInBothDirections) {
    ASSERT_EQ(Click(0, 5), 1);
    const int x = X(0);
    const int y = Y(0, 0);
    ASSERT_EQ(x, engine.OriginX());
    ASSERT_EQ(y, engine.OriginY());

    for (int d : {-21, 21}) {
        EXPECT_EQ(engine.OnButtonDown(0, x + d, y), 0) << d;
        EXPECT_EQ(engine.OnButtonDown(0, x, y + d), 0) << d;
        EXPECT_EQ(engine.DragColumn(), -1);
        EXPECT_EQ(SelectedColumns(0), std::vector<int>{5});  // a miss keeps the selection
    }
    for (int d : {-20, 20}) {
        EXPECT_EQ(engine.OnButtonDown(0, x + d, y), 1) << d;
        EXPECT_EQ(SelectedColumns(0), std::vector<int>{0});
        EXPECT_EQ(engine.OnButtonDown(0, x, y + d), 1) << d;
        EXPECT_EQ(engine.DragColumn(), 0);
    }
}

TEST_F(GraphInput, ClickSelectsAndSetsCursorAndCallout) {
    ASSERT_EQ(Click(0, 3), 1);
    EXPECT_EQ(engine.ActiveTrace(), 0);
    EXPECT_EQ(engine.CursorColumn(), 3);
    EXPECT_EQ(engine.DragColumn(), 3);
    EXPECT_EQ(engine.CalloutTrace(), 0);
    EXPECT_EQ(engine.CalloutColumn(), 3);
    EXPECT_FALSE(engine.MultipleSelection());
    ASSERT_EQ(Click(0, 6), 1);  // a plain click moves the one-point selection
    EXPECT_EQ(SelectedColumns(0), std::vector<int>{6});
    EXPECT_TRUE(engine.TraceAt(0).hasSelection);
}

TEST_F(GraphInput, CoincidingPointsGoToTheActiveTraceElseTheLowestIndex) {
    std::array<float, 10> other = Ramp(50, -5);  // crosses trace 0 nowhere but column ...
    other[2] = 20;                              // ... 2, where both hold 20
    SetTrace(1, other);
    Redraw();
    ASSERT_EQ(Click(1, 2), 1);
    EXPECT_EQ(engine.ActiveTrace(), 0);  // none active yet: the lower index
    ASSERT_EQ(Click(1, 7), 1);
    EXPECT_EQ(engine.ActiveTrace(), 1);
    ASSERT_EQ(Click(0, 2), 1);
    EXPECT_EQ(engine.ActiveTrace(), 1);  // the active trace keeps the grab
    EXPECT_TRUE(Selected(1, 2));
    EXPECT_FALSE(Selected(0, 2));
}

TEST_F(GraphInput, CtrlClickUnselectsLinkedPointsWithoutDrag) {
    SetTrace(1, Ramp(5, 10));
    SetTrace(2, Ramp(60, -5));
    Redraw();
    engine.SetTraceLink(0, 1);
    engine.SetTraceLink(1, 2);
    engine.SetLinking(1);
    ASSERT_EQ(Click(0, 3), 1);
    EXPECT_TRUE(Selected(1, 3));
    EXPECT_TRUE(Selected(2, 3));
    EXPECT_TRUE(engine.MultipleSelection());

    ASSERT_EQ(Click(0, 3, graph::kCtrl), 1);
    EXPECT_EQ(engine.DragColumn(), -1);
    EXPECT_FALSE(Selected(0, 3));
    EXPECT_FALSE(Selected(1, 3));
    EXPECT_FALSE(Selected(2, 3));
    EXPECT_EQ(engine.OnMouseMove(1, X(3), Y(0, 3) - 50), 0);  // no drag runs
    EXPECT_FLOAT_EQ(engine.PointAt(0, 3).value, 30);
}

TEST_F(GraphInput, LinkChainsSkipHiddenTracesAndEndOnLoops) {
    SetTrace(1, Ramp(5, 10));
    SetTrace(2, Ramp(6, 10), false);
    SetTrace(3, Ramp(7, 10));
    engine.SetTraceLink(0, 1);
    engine.SetTraceLink(1, 2);
    engine.SetTraceLink(2, 3);
    engine.SetTraceLink(3, 1);  // a loop that never comes back to trace 0
    engine.SetLinking(1);
    engine.SetPointSelected(0, 4, 1);
    EXPECT_TRUE(Selected(1, 4));
    EXPECT_FALSE(Selected(2, 4));
    EXPECT_TRUE(Selected(3, 4));
    engine.SetLinking(0);
    engine.SetPointSelected(0, 5, 1);
    EXPECT_FALSE(Selected(1, 5));
}

TEST_F(GraphInput, ShiftClickFillsTheBlockInEveryTraceWithASelection) {
    SetTrace(1, Ramp(50, 1));
    SetTrace(2, Ramp(80, 1));
    Redraw();
    ASSERT_EQ(Click(0, 2), 1);
    ASSERT_EQ(Click(1, 6, graph::kCtrl), 1);
    ASSERT_EQ(Click(0, 4, graph::kShift), 1);
    EXPECT_EQ(SelectedColumns(0), (std::vector<int>{2, 3, 4, 5, 6}));
    EXPECT_EQ(SelectedColumns(1), (std::vector<int>{2, 3, 4, 5, 6}));
    EXPECT_TRUE(SelectedColumns(2).empty());
}

TEST_F(GraphInput, HoverRequestsACalloutAndChangesNothingElse) {
    ASSERT_EQ(Click(0, 2), 1);
    EXPECT_EQ(engine.OnMouseMove(0, X(7) + 3, Y(0, 7) - 4), 0);
    EXPECT_EQ(engine.CalloutTrace(), 0);
    EXPECT_EQ(engine.CalloutColumn(), 7);
    EXPECT_EQ(SelectedColumns(0), std::vector<int>{2});
    EXPECT_EQ(engine.CursorColumn(), 2);
    engine.SetFeatureFlags(static_cast<std::uint8_t>(0xFF & ~graph::kCalloutEnabled));
    engine.OnMouseMove(0, X(5), Y(0, 5));
    EXPECT_EQ(engine.CalloutTrace(), -1);
}

class GraphDrag : public GraphTest {
protected:
    GraphDrag() {
        engine.SetValueCallback(&document);
        for (int c = 0; c < 10; ++c) {
            document.SetRaw(0, c, 10 + c);  // 20 ... 38
            document.SetRaw(1, c, 20 + c);  // 40 ... 58
        }
        document.Push(engine, 0);
        document.Push(engine, 1);
        engine.SetTraceVisible(0, 1);
        engine.SetTraceVisible(1, 1);
        Redraw();
    }
    StepDocument document;
};

TEST_F(GraphDrag, SelectedPointsMoveByTheSameControllerSteps) {
    ASSERT_EQ(Click(0, 2), 1);
    ASSERT_EQ(Click(1, 9, graph::kCtrl), 1);
    ASSERT_EQ(Click(1, 9), 1);  // grab the selected point: the selection stays
    ASSERT_EQ(engine.ActiveTrace(), 1);
    ASSERT_EQ(engine.AxisMaximum(), 60);
    document.calls.clear();

    ASSERT_EQ(engine.OnMouseMove(1, X(9), engine.ValueToY(75.5f)), 1);
    ASSERT_EQ(document.calls.size(), 2u);
    EXPECT_EQ(document.calls[0].trace, 1);
    EXPECT_EQ(document.calls[0].deltaIn, 0);
    EXPECT_NEAR(document.calls[0].proposed, 75.5f, 0.6f);
    const int steps = document.Raw(1, 9) - 29;
    EXPECT_GE(steps, 7);
    EXPECT_EQ(document.calls[1].trace, 0);
    EXPECT_EQ(document.calls[1].deltaIn, steps);
    EXPECT_EQ(document.Raw(0, 2), 12 + steps);
    EXPECT_FLOAT_EQ(engine.PointAt(0, 2).value, static_cast<float>((12 + steps) * 2));
    EXPECT_FLOAT_EQ(engine.PointAt(1, 9).value, static_cast<float>(document.Raw(1, 9) * 2));
    EXPECT_EQ(engine.CalloutTrace(), 1);
    EXPECT_EQ(engine.CalloutColumn(), 9);

    // The axis holds still during the drag and follows after the release.
    Redraw();
    EXPECT_EQ(engine.AxisMaximum(), 60);
    EXPECT_FLOAT_EQ(engine.TraceAt(1).maximum, 58);
    EXPECT_EQ(engine.OnButtonUp(), 1);
    EXPECT_EQ(engine.DragColumn(), -1);
    Redraw();
    EXPECT_EQ(engine.AxisMaximum(), 80);
    EXPECT_FLOAT_EQ(engine.TraceAt(1).maximum, engine.PointAt(1, 9).value);
}

TEST_F(GraphDrag, NoStepNoOtherPointMoves) {
    ASSERT_EQ(Click(0, 2), 1);
    ASSERT_EQ(Click(1, 9, graph::kCtrl), 1);
    document.calls.clear();
    engine.OnMouseMove(1, X(9), Y(1, 9));  // the grabbed point's own value: delta 0
    EXPECT_EQ(document.calls.size(), 1u);
    EXPECT_EQ(document.Raw(0, 2), 12);
}

TEST_F(GraphDrag, DragFarOutsideClampsBeforeTheCallbackSeesIt) {
    ASSERT_EQ(Click(0, 4), 1);
    engine.OnMouseMove(1, X(4), -1000000);
    ASSERT_FALSE(document.calls.empty());
    EXPECT_EQ(document.calls.back().proposed, 32767.0f);
    engine.OnMouseMove(1, X(4), 1000000);
    EXPECT_EQ(document.calls.back().proposed, -32768.0f);
    EXPECT_EQ(document.Raw(0, 4), 0);
}

TEST_F(GraphDrag, UpArrowMovesSelectedPointsInSteps) {
    ASSERT_EQ(Click(0, 2), 1);
    ASSERT_EQ(Click(1, 7, graph::kCtrl), 1);
    engine.OnKey(graph::kKeyUp, 1, graph::kShift);
    EXPECT_EQ(document.Raw(0, 2), 17);
    EXPECT_EQ(document.Raw(1, 7), 32);
    EXPECT_FLOAT_EQ(engine.TraceAt(1).maximum, 64);  // ranges follow at once
    engine.OnKey(graph::kKeyDown, 3, 0);
    EXPECT_EQ(document.Raw(0, 2), 14);
    EXPECT_EQ(document.Raw(1, 7), 29);
    EXPECT_EQ(engine.CalloutTrace(), 1);
    EXPECT_EQ(engine.CalloutColumn(), 7);
}

TEST_F(GraphInput, WithoutCallbackValuesMoveInWholeUnitsWithinLimits) {
    std::array<float, 10> v = Ramp(100, 10);
    v[0] = 32765;
    v[1] = 3;
    SetTrace(1, v);
    engine.SetTraceVisible(0, 0);  // at this scale trace 0 would lie on the same pixels
    Redraw();
    ASSERT_EQ(Click(1, 0), 1);
    engine.OnKey(graph::kKeyUp, 1, graph::kShift);
    EXPECT_FLOAT_EQ(engine.PointAt(1, 0).value, 32767);
    ASSERT_EQ(Click(1, 1), 1);
    engine.OnKey(graph::kKeyDown, 1, graph::kShift);
    EXPECT_FLOAT_EQ(engine.PointAt(1, 1).value, 0);
    ASSERT_EQ(Click(1, 5), 1);
    engine.OnKey(graph::kKeyUp, 2, graph::kShift);
    EXPECT_FLOAT_EQ(engine.PointAt(1, 5).value, 160);

    std::int16_t delta = 0;
    EXPECT_EQ(engine.ChangePointValue(1, 5, 170.7f, delta), 170.0f);  // truncated
    EXPECT_EQ(delta, 10);
    delta = 3;
    EXPECT_EQ(engine.ChangePointValue(1, 5, 160.0f, delta), 163.0f);
    EXPECT_EQ(delta, 3);
}

class GraphKeys : public GraphTest {
protected:
    GraphKeys() {
        SetTrace(0, Ramp(0, 10), false);
        SetTrace(3, Ramp(5, 10));
        SetTrace(4, Ramp(2, 10), false);
        SetTrace(7, Ramp(10, 10));
        SetTrace(49, Ramp(1, 10), false);
        Redraw();
    }
};

TEST_F(GraphKeys, PageUpAndDownWalkTheVisibleTraces) {
    engine.OnKey(graph::kKeyPageUp, 1, 0);
    EXPECT_EQ(engine.ActiveTrace(), 3);
    EXPECT_EQ(SelectedColumns(3), std::vector<int>{0});  // no cursor and no selection yet: column 0
    engine.OnKey(graph::kKeyPageUp, 1, 0);
    EXPECT_EQ(engine.ActiveTrace(), 7);
    engine.OnKey(graph::kKeyPageUp, 1, 0);
    EXPECT_EQ(engine.ActiveTrace(), 7);  // the last visible trace stays active
    EXPECT_EQ(SelectedColumns(7), std::vector<int>{0});
    EXPECT_TRUE(SelectedColumns(3).empty());
    engine.OnKey(graph::kKeyPageDown, 1, 0);
    EXPECT_EQ(engine.ActiveTrace(), 3);
    engine.OnKey(graph::kKeyPageDown, 1, 0);
    EXPECT_EQ(engine.ActiveTrace(), 3);
    engine.OnKey(graph::kKeyRight, 2, 0);
    engine.OnKey(graph::kKeyPageUp, 1, graph::kCtrl);  // a modifier keeps the selection
    EXPECT_EQ(engine.ActiveTrace(), 7);
    EXPECT_EQ(SelectedColumns(3), std::vector<int>{2});
    EXPECT_EQ(SelectedColumns(7), std::vector<int>{2});
}

TEST_F(GraphKeys, PageDownWithoutActiveTraceTakesTraceZero) {
    engine.OnKey(graph::kKeyPageDown, 1, 0);
    EXPECT_EQ(engine.ActiveTrace(), 0);
}

TEST_F(GraphKeys, HomeEndAndShiftEnd) {
    engine.OnKey(graph::kKeyRight, 1, 0);  // the first visible trace becomes active
    EXPECT_EQ(engine.ActiveTrace(), 3);
    EXPECT_EQ(engine.CursorColumn(), 0);
    engine.OnKey(graph::kKeyRight, 4, 0);
    EXPECT_EQ(engine.CursorColumn(), 4);
    engine.OnKey(graph::kKeyEnd, 1, 0);
    EXPECT_EQ(engine.CursorColumn(), 9);
    EXPECT_EQ(SelectedColumns(3), std::vector<int>{9});
    engine.OnKey(graph::kKeyHome, 1, 0);
    EXPECT_EQ(engine.CursorColumn(), 0);
    EXPECT_EQ(SelectedColumns(3), std::vector<int>{0});
    engine.OnKey(graph::kKeyLeft, 1, 0);
    EXPECT_EQ(engine.CursorColumn(), 0);
    engine.OnKey(graph::kKeyRight, 3, graph::kCtrl);
    EXPECT_EQ(SelectedColumns(3), (std::vector<int>{0, 3}));
    engine.OnKey(graph::kKeyEnd, 1, graph::kShift);
    EXPECT_EQ(engine.CursorColumn(), 9);
    EXPECT_EQ(SelectedColumns(3), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(engine.CalloutTrace(), 3);
    EXPECT_EQ(engine.CalloutColumn(), 9);
}

TEST_F(GraphKeys, FirstCursorKeyStartsAtTheEdgeOfTheSelection) {
    // A selection made before the cursor was ever set: Left starts from its first column,
    // Right from its last.
    for (int c : {2, 3, 4}) engine.SetPointSelected(3, c, 1);
    engine.OnKey(graph::kKeyLeft, 1, 0);
    EXPECT_EQ(engine.ActiveTrace(), 3);
    EXPECT_EQ(engine.CursorColumn(), 1);
    EXPECT_EQ(SelectedColumns(3), std::vector<int>{1});

    CGraphEngine other(50, 10);
    other.SetTraceValues(3, Ramp(5, 10).data());
    other.SetTraceVisible(3, 1);
    for (int c : {2, 3, 4}) other.SetPointSelected(3, c, 1);
    other.OnKey(graph::kKeyRight, 1, graph::kCtrl);
    EXPECT_EQ(other.CursorColumn(), 5);
    EXPECT_EQ(other.PointAt(3, 2).selected + other.PointAt(3, 5).selected, 2);
}

TEST_F(GraphKeys, SpaceTogglesOnlyWhileAnotherPointIsSelected) {
    ASSERT_EQ(Click(7, 4), 1);
    engine.OnKey(graph::kKeySpace, 1, 0);
    EXPECT_EQ(SelectedColumns(7), std::vector<int>{4});
    engine.OnKey(graph::kKeyRight, 1, graph::kCtrl);
    EXPECT_EQ(SelectedColumns(7), (std::vector<int>{4, 5}));
    engine.OnKey(graph::kKeySpace, 1, 0);
    EXPECT_EQ(SelectedColumns(7), std::vector<int>{4});
    engine.OnKey(graph::kKeySpace, 1, 0);
    EXPECT_EQ(SelectedColumns(7), (std::vector<int>{4, 5}));
}

}  // namespace
}  // namespace korvath::test
