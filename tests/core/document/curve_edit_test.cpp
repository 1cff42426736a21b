// Edits by value go through the document's edit rule as a drag would; undo restores the stored
// values exactly.

#include <gtest/gtest.h>

#include "document/calibration_state.h"
#include "document/curve_edit.h"
#include "support/document_fixture.h"

namespace korvath {
namespace {

using testing::DocumentTest;

// Traces 0 and 1 show half the raw byte and store 16 times it; trace 2 is not linked.
class CurveEditTest : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        doc->SetGraph(&graph);
        const std::string formulas =
            "TraceMode 1\nStoreToIntFormula X/16\nIntToStoreFormula X*16\nDispToIntFormula X*2\nIntToDispFormula X/2\n";
        std::string blocks;
        for (int t = 0; t < 3; ++t)
            blocks += "GraphElement Trace {\nTraceNum " + std::to_string(t) + "\n" + formulas + "}\n";
        ASSERT_TRUE(LoadDefinition(Declarations("") + "[GraphicalTuning]\n" + blocks));
        doc->ResetVariableTable(2);
        ASSERT_TRUE(doc->ReadDeclarations(1));
        doc->BindGraphicalTuningTraces();
        for (int t = 0; t < 3; ++t) {
            graph.SetTraceVisible(t, 1);
            for (int c = 0; c < kPointsPerTrace; ++c) Stored(t, c) = static_cast<std::int16_t>(16 * 2 * (10 + c));
        }
        doc->PushTracesToGraph();
    }
    std::int16_t& Stored(int t, int c) { return doc->calibration().points[t][c]; }
    float Shown(int t, int c) const { return graph.PointAt(t, c).value; }

    CGraphEngine graph;
};

TEST_F(CurveEditTest, ATypedValueIsQuantisedAsADragWouldAndLinkedTracesFollow) {
    CurveEditor editor(*doc);
    EXPECT_FLOAT_EQ(editor.StorePoint(0, 3, 23.3), 23.0f);  // 46.6 raw steps truncate to 46
    EXPECT_EQ(Stored(0, 3), 46 * 16);
    EXPECT_FLOAT_EQ(Shown(0, 3), 23.0f);
    EXPECT_TRUE(doc->IsModified());

    // Linked: the other trace of the pair moves by the same raw steps, as in a drag.
    graph.SetTraceLink(0, 1);
    graph.SetTraceLink(1, 0);
    graph.SetLinking(1);
    editor.StorePoint(0, 2, 14);  // 12 -> 14: +4 raw steps
    EXPECT_FLOAT_EQ(Shown(1, 2), 14.0f);
    EXPECT_EQ(Stored(1, 2), 28 * 16);
    EXPECT_FLOAT_EQ(Shown(2, 2), 12.0f);  // not linked

    // What cannot be stored changes nothing.
    editor.StorePoint(0, 4, std::numeric_limits<double>::quiet_NaN());
    editor.StorePoint(0, 10, 5);
    editor.StorePoint(50, 0, 5);
    EXPECT_EQ(Stored(0, 4), 14 * 32);
    // A value beyond what the controller's byte holds stores the nearest it holds (the rule
    // alone would wrap 1e9 round to raw 0); below zero as well.
    EXPECT_FLOAT_EQ(editor.StorePoint(2, 0, 1e9), 127.5f);
    EXPECT_EQ(Stored(2, 0), 255 * 16);
    EXPECT_NEAR(editor.StorePoint(2, 1, -40), 0.0f, 1e-6);
    EXPECT_EQ(Stored(2, 1), 0);
}

TEST_F(CurveEditTest, OperationsWorkOnTheBlockFromItsCurrentValues) {
    CurveEditor editor(*doc);
    const PointBlock block{{0, 2}, 1, 4};  // values 11 12 13 14 in both rows
    editor.ApplyOperation(block, BlockOperation::Add, 2.5);
    EXPECT_FLOAT_EQ(Shown(0, 1), 13.5f);
    EXPECT_FLOAT_EQ(Shown(2, 4), 16.5f);
    EXPECT_FLOAT_EQ(Shown(0, 5), 15.0f);  // outside the block
    EXPECT_FLOAT_EQ(Shown(1, 1), 11.0f);  // a row not in the block

    editor.ApplyOperation(block, BlockOperation::Set, 20);
    editor.ApplyOperation(block, BlockOperation::Scale, 50);  // 20 * 1.5
    EXPECT_FLOAT_EQ(Shown(0, 2), 30.0f);

    // Interpolation keeps both ends and fills the inner cells on the line between them.
    editor.StorePoint(0, 1, 10);
    editor.StorePoint(0, 4, 25);
    editor.ApplyOperation({{0}, 1, 4}, BlockOperation::Interpolate, 0);
    EXPECT_FLOAT_EQ(Shown(0, 2), 15.0f);
    EXPECT_FLOAT_EQ(Shown(0, 3), 20.0f);
    EXPECT_FLOAT_EQ(Shown(0, 4), 25.0f);

    // Smoothing takes the values from before it, not the ones it has just changed.
    editor.StorePoint(2, 0, 10);
    editor.StorePoint(2, 1, 40);
    editor.StorePoint(2, 2, 10);
    editor.StorePoint(2, 3, 40);
    const BlockValues smooth = editor.OperationValues({{2}, 0, 3}, BlockOperation::Smooth, 0);
    ASSERT_EQ(smooth.size(), 1u);
    EXPECT_FALSE(smooth[0][0].has_value());
    EXPECT_DOUBLE_EQ(*smooth[0][1], 20.0);
    EXPECT_DOUBLE_EQ(*smooth[0][2], 30.0);
    EXPECT_FALSE(smooth[0][3].has_value());
}

TEST_F(CurveEditTest, APastedBlockIsCutAtTheTablesEndAndSkipsEmptyCells) {
    CurveEditor editor(*doc);
    const BlockValues values{{1.0, std::nullopt, 3.0}, {4.0, 5.0, 6.0}};
    EXPECT_EQ(editor.StoreBlock({{0, 1}, 8, 9}, values), 3);  // the third column lies beyond
    EXPECT_FLOAT_EQ(Shown(0, 8), 1.0f);
    EXPECT_FLOAT_EQ(Shown(0, 9), 19.0f);  // empty: kept
    EXPECT_FLOAT_EQ(Shown(1, 9), 5.0f);
    EXPECT_EQ(editor.StoreBlock({{2}, 0, 9}, values), 2);  // one trace: one row
}

TEST_F(CurveEditTest, RestoringPutsBackTheStoredValuesNotRequantisedOnes) {
    Stored(0, 0) = 333;  // not on the 16-unit grid of the controller's byte
    doc->PushTracesToGraph();
    const TracePoints before = doc->calibration().points;
    CurveEditor(*doc).ApplyOperation({{0, 1}, 0, 9}, BlockOperation::Add, 1);
    EXPECT_NE(Stored(0, 0), 333);
    RestorePoints(*doc, before);
    EXPECT_EQ(doc->calibration().points, before);
    EXPECT_FLOAT_EQ(Shown(1, 5), 15.0f);  // the graph shows them again

    const CalibrationState state = CaptureState(*doc);
    EXPECT_TRUE(HoldsState(*doc, state));
    doc->properties().SetText(":Page:Firmness Soft; ");
    Stored(2, 2) = 1;
    EXPECT_FALSE(HoldsState(*doc, state));
    RestoreState(*doc, state);
    EXPECT_TRUE(HoldsState(*doc, state));
    EXPECT_EQ(doc->properties().text(), state.calibration.properties.text());
}

TEST(CurveEditNames, NamesSayWhatAStepDid) {
    EXPECT_EQ(PasteStepName(3, 10), "Paste 3\u00d710 cells");
    EXPECT_EQ(OperationStepName(BlockOperation::Scale, {{0, 1}, 0, 9}, 5), "Scale 2\u00d710 cells by +5 %");
    EXPECT_EQ(OperationStepName(BlockOperation::Set, {{4}, 3, 3}, 23.5), "Set 1 cell to 23.5");
    EXPECT_EQ(FormatCellNumber(0.1f), "0.1");
    EXPECT_EQ(FormatCellNumber(-0.0), "0");
    EXPECT_EQ(FormatCellNumber(30000), "30000");
}

}  // namespace
}  // namespace korvath
