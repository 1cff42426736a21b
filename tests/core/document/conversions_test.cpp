#include <gtest/gtest.h>

#include <vector>

#include "support/document_fixture.h"

namespace korvath {
namespace {

using testing::DocumentTest;

// A definition with tables on traces 0-3 and one GraphElement per trace.
class ConversionsTest : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        doc->SetGraph(&graph);
    }

    // Loads declarations plus a [GraphicalTuning] section made of the given blocks, and binds.
    void Bind(const std::string& declarations, const std::string& blocks, int interpolation = 1) {
        std::string text = Declarations(declarations);
        auto at = text.find("$DynamicInterpolation 1");
        text.replace(at, 23, "$DynamicInterpolation " + std::to_string(interpolation));
        ASSERT_TRUE(LoadDefinition(text + "[GraphicalTuning]\n" + blocks));
        doc->ResetVariableTable(2);
        ASSERT_TRUE(doc->ReadDeclarations(1));
        doc->BindGraphicalTuningTraces();
    }
    static std::string Trace(int t, const std::string& keys) {
        return "GraphElement Trace {\nTraceNum " + std::to_string(t) + "\n" + keys + "}\n";
    }
    std::int16_t& Point(int t, int i) { return doc->calibration().points[t][i]; }

    CGraphEngine graph;
};

TEST_F(ConversionsTest, DirectAndFormulaModes) {
    Bind("", Trace(0, "TraceMode 2\n") +
                 Trace(1, "TraceMode 1\nIntToDispFormula X*2-40\nDispToIntFormula X/2\n") +
                 Trace(2, "Link 0\n"));
    EXPECT_EQ(doc->DisplayToRaw(0, 12.5f, 2, 0, 0), 13);
    EXPECT_EQ(doc->DisplayToRaw(0, 300.0f, 2, 0, 0), 255);
    EXPECT_EQ(doc->DisplayToRaw(0, -3.0f, 2, 0, 0), 0);
    EXPECT_EQ(doc->DisplayToRaw(0, 12.5f, 2, 5, 0), 18);  // the offset is added before clamping
    EXPECT_DOUBLE_EQ(doc->RawToValue(0, 200, 3), 200);
    EXPECT_DOUBLE_EQ(doc->RawToValue(1, 100, 3), 160);
    EXPECT_DOUBLE_EQ(doc->RawToValue(1, 10, 3), 0);  // clamped at 0
    EXPECT_EQ(doc->DisplayToRaw(1, 9.0f, 2, 0, 0), 4);  // truncation, not rounding
    EXPECT_DOUBLE_EQ(doc->RawToValue(2, 100, 3), 0);  // no mode: nothing converts
    EXPECT_EQ(doc->DisplayToRaw(2, 100, 2, 0, 0), 0);
    EXPECT_EQ(graph.SetTraceLink(2, graph::kLinkQuery), 0);
}

TEST_F(ConversionsTest, ReferencesInFormulas) {
    Bind("Base I16 1:0 Def:7\nGain F32 1:2 Def:2.5\nTab T8 10:4\n", "");
    for (int i = 0; i < 10; ++i) Point(4, i) = static_cast<std::int16_t>(10 * i);
    std::string f = "X+I:Base:*F:gain:";
    host.messages.clear();
    EXPECT_EQ(doc->SubstituteReferences(f, 0), -1000);  // names are case-sensitive
    EXPECT_EQ(f, "X+7*F:gain:");  // references before the failure stay replaced
    ASSERT_EQ(host.messages.size(), 1u);

    f = "t:Tab: + T:Tab:";
    EXPECT_EQ(doc->SubstituteReferences(f, 2.5f), 1000);
    EXPECT_EQ(f, "25 + 25");  // (P[2] + P[3]) / 2
    f = "T:Tab:";
    doc->SubstituteReferences(f, 2.4f);
    EXPECT_EQ(f, "20");
    f = "T:Tab:";
    doc->SubstituteReferences(f, 12.0f);  // beyond the last point: the last point
    EXPECT_EQ(f, "90");

    f = "T:Nothing:*2";
    host.messages.clear();
    EXPECT_EQ(doc->SubstituteReferences(f, 0), -1000);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("Could not resolve table index listed above."), std::string::npos);

    f = "M:RPM:";
    EXPECT_EQ(doc->SubstituteReferences(f, 0), -1000);  // no controller link: no live value
    f = ":odd";
    EXPECT_EQ(doc->SubstituteReferences(f, 0), -1000);
    f = "Q:x:";
    EXPECT_EQ(doc->SubstituteReferences(f, 0), -1000);
    f = "I:Base";  // no closing colon at the end of the text
    EXPECT_EQ(doc->SubstituteReferences(f, 0), 1000);
    EXPECT_EQ(f, "7");
}

TEST_F(ConversionsTest, LiveReferencesComeFromTheLink) {
    struct Source : LiveVariableSource {
        int ReadRamVariable(const char* name) override { return std::string(name) == "RPM" ? 2100 : -1000; }
    } source;
    doc->SetLiveVariableSource(&source);
    std::string f = "M:RPM:/10";
    EXPECT_EQ(doc->SubstituteReferences(f, 0), 2100);
    EXPECT_EQ(f, "2100/10");
    f = "M:TPS:";
    EXPECT_EQ(doc->SubstituteReferences(f, 0), -1000);
    doc->SetLiveVariableSource(nullptr);
}

TEST_F(ConversionsTest, FormulaStatements) {
    Bind("N I16 1:0\nG F32 1:2\n", "");
    std::string error;
    EXPECT_TRUE(doc->ExecuteFormulaStatement("F@G=2.5*X", error));
    EXPECT_FLOAT_EQ(doc->FindFloatVariable("G").get(), 2.5f);
    EXPECT_TRUE(doc->ExecuteFormulaStatement("I@N=7.6", error));
    EXPECT_EQ(doc->FindIntVariable("N").get(), 8);
    EXPECT_TRUE(doc->ExecuteFormulaStatement("i@N = -2.7", error));
    EXPECT_EQ(doc->FindIntVariable("N").get(), -2);
    EXPECT_TRUE(doc->ExecuteFormulaStatement("I@N=I:N:*3", error));
    EXPECT_EQ(doc->FindIntVariable("N").get(), -5);  // -6 + 0.5 truncated toward zero

    EXPECT_FALSE(doc->ExecuteFormulaStatement("I@N 5", error));
    EXPECT_EQ(error, "Store variable not found for formula I@N 5");
    EXPECT_FALSE(doc->ExecuteFormulaStatement("=5", error));
    EXPECT_FALSE(doc->ExecuteFormulaStatement("Q@N=5", error));
    EXPECT_EQ(error, "Store variable type 'Q' not recognized for variable Q@N");
    error.clear();
    EXPECT_FALSE(doc->ExecuteFormulaStatement("IN=5", error));
    EXPECT_TRUE(error.empty());
    host.messages.clear();
    EXPECT_TRUE(doc->ExecuteFormulaStatement("I@Missing=1", error));  // reported by the lookup
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(ConversionsTest, EditingMovesPointsInWholeRawSteps) {
    Bind("", Trace(0, "TraceMode 1\nStoreToIntFormula X/10\nIntToStoreFormula X*10\n"
                      "DispToIntFormula X/20\nIntToDispFormula X*20\n"));
    for (int i = 0; i < 10; ++i) Point(0, i) = static_cast<std::int16_t>(100 * (i + 1));
    doc->SetModifiedFlag(false);
    std::int16_t step = 0;
    // Point 0 holds 100 (raw 10, shown 200); the user drags it to 261 (raw 13).
    EXPECT_FLOAT_EQ(doc->OnPointEdited(0, 0, 261.0f, step), 260.0f);
    EXPECT_EQ(step, 3);
    EXPECT_EQ(Point(0, 0), 130);
    EXPECT_TRUE(doc->IsModified());
    // The same step moves the other selected points by three raw steps.
    EXPECT_FLOAT_EQ(doc->OnPointEdited(0, 4, 0.0f, step), 1060.0f);
    EXPECT_EQ(Point(0, 4), 530);
    doc->SetShowConverted(false);
    step = 0;
    EXPECT_FLOAT_EQ(doc->OnPointEdited(0, 1, 400.0f, step), 200.0f);  // raw 20 -> stored 200
    EXPECT_EQ(doc->StoredPointValue(0, 1), 200);
}

TEST_F(ConversionsTest, PaddedPointsAndProxyTraces) {
    Bind("Pad I16 1:0 Def:5\nSel I16 1:2 Def:1\n",
         Trace(0, "TraceMode 2\nPadEnable 1:0:Pad 0 1\n") + Trace(1, "TraceMode 2\nPadEnable 0:0:Pad 0 1\n") +
             Trace(2, "TraceMode 2\nEnableButton 2\nProxyEnable @Sel I:1\nProxyFormula X+100\n") +
             Trace(3, "TraceMode 2\nEnableButton 2\nProxyEnable @Sel I:0\nProxyFormula X+100\n"));
    Point(0, 0) = 10;
    Point(0, 2) = 10;
    EXPECT_EQ(doc->PaddedPoint(0, 0, 0), 15);
    EXPECT_EQ(doc->PaddedPoint(0, 0, 1), 5);
    EXPECT_EQ(doc->PaddedPoint(0, 2, 0), 10);  // not in the list
    Point(1, 0) = 10;
    EXPECT_EQ(doc->PaddedPoint(1, 0, 0), 10);  // not enabled
    EXPECT_EQ(doc->traceBinding(2).ProxyActive, 1);
    EXPECT_EQ(doc->traceBinding(3).ProxyActive, 0);
    EXPECT_EQ(doc->DisplayToRaw(2, 20, 0, 0, 0), 120);
    EXPECT_EQ(doc->DisplayToRaw(3, 20, 0, 0, 0), 20);
    EXPECT_TRUE(doc->ClearTraceBinding(2));
    EXPECT_EQ(doc->traceBinding(2).ProxyActive, 0);
    EXPECT_EQ(doc->traceBinding(2).formulas[TraceFormula::PadEnable], "");  // it had none
    EXPECT_EQ(doc->traceBinding(0).formulas[TraceFormula::PadEnable], "1:0:Pad 0 1");
    EXPECT_TRUE(doc->ClearTraceBinding(0));
    EXPECT_EQ(doc->traceBinding(0).formulas[TraceFormula::PadEnable], "1:0:Pad 0 1");  // the pad rule stays
}

TEST_F(ConversionsTest, ConversionTablesAreReadIntoTheCalibration) {
    Bind("", Trace(5, "ConvTable 0 0.0, 128 50.5, 255 100,\n") + Trace(6, "ConvTable 1 2.5, x 3,\n"));
    EXPECT_EQ(doc->ConversionTableEntry(5, 1).raw, 128);
    EXPECT_FLOAT_EQ(doc->ConversionTableEntry(5, 1).display, 50.5f);
    EXPECT_EQ(doc->ConversionTableEntry(5, 2).raw, 255);
    EXPECT_EQ(doc->ConversionTableEntry(5, 3).raw, 0);
    EXPECT_EQ(doc->ConversionTableEntry(6, 0).raw, 1);
    EXPECT_EQ(doc->ConversionTableEntry(6, 1).raw, 0);  // the scan stops at the bad item
}

TEST_F(ConversionsTest, ImagesAreBuiltAndReadBack) {
    Bind("A I16 1:0 Def:0x1234\nB U8 1:2 Def:0x1FF\nL I32 1:3 Def:-2\nG F32 1:7 Def:1.5\nS STR 2:0:x\n"
         "Far I16 1:200\nT T8 10:0 NVM:10:0:1\nU T8 10:1 NVM:19:0x10:1\n"
         "StoreFormulae:\nI@A=I:A:+1\nLoadFormulae:\nF@G=F:G:*2\n",
         Trace(0, "TraceMode 1\nStoreToIntFormula X/10\nIntToStoreFormula X*10\n") + Trace(1, "TraceMode 2\n"),
         /*interpolation=*/2);
    for (int i = 0; i < 10; ++i) {
        Point(0, i) = static_cast<std::int16_t>(100 * i + 5);
        Point(1, i) = static_cast<std::int16_t>(10 * i);
    }
    std::vector<std::uint8_t> image(256, 0);
    ASSERT_TRUE(doc->ExchangeImage(image.data(), image.size(), 1));
    EXPECT_EQ(image[0], 0x35);  // the store formula ran first: 0x1235
    EXPECT_EQ(image[1], 0x12);
    EXPECT_EQ(image[2], 0xFF);  // an 8-bit variable keeps its low byte
    EXPECT_EQ(image[3], 0xFE);
    EXPECT_EQ(image[6], 0xFF);
    EXPECT_EQ(image[128 + 0], 0);  // interpolation 2: cell 0 = point 0 (5 -> raw 0)
    EXPECT_EQ(image[128 + 4], 20);  // cell 4 = point 2 (205 -> 20)
    EXPECT_EQ(image[128 + 0x10 + 1], 5);  // odd cells of U hold the midpoint of points 0 and 1
    EXPECT_EQ(image[128 + 0x10 + 18], 90);

    for (auto& trace : doc->calibration().points) trace.fill(0);
    doc->SetIntVariable("A", 0);
    ASSERT_TRUE(doc->ExchangeImage(image.data(), image.size(), 0));
    EXPECT_EQ(doc->FindIntVariable("A").get(), 0x1235);
    EXPECT_FLOAT_EQ(doc->FindFloatVariable("G").get(), 3.0f);  // the load formula ran last
    EXPECT_EQ(Point(0, 2), 200);
    EXPECT_EQ(Point(1, 9), 90);
    EXPECT_EQ(Point(0, 5), 0);  // table T has 10 cells: only points 0-4 at interpolation 2
}

TEST_F(ConversionsTest, ExchangeStopsAtTablesAndAddressesItCannotPlace) {
    Bind("T T8 10:0 NVM:10:0:1\n", Trace(0, "TraceMode 2\n"), /*interpolation=*/0);
    std::vector<std::uint8_t> image(256, 0);
    EXPECT_FALSE(doc->ExchangeImage(image.data(), image.size(), 1));

    Bind("T T8 10:0 NVM:10:0:1\n", Trace(0, "TraceMode 2\n"));
    EXPECT_FALSE(doc->ExchangeImage(image.data(), 130, 1));  // a buffer shorter than the table
    EXPECT_TRUE(doc->ExchangeImage(image.data(), image.size(), 1));

    // A scalar moved outside the static block by a later change of the table is refused.
    auto& slot = doc->variables().slots[0];
    slot.type = VarType::I16;
    slot.location = VarLocation::StaticBlock;
    slot.address = 127;
    EXPECT_TRUE(doc->ExchangeImage(image.data(), image.size(), 1));  // 127 + 2 still inside the image
    slot.address = 200;
    EXPECT_FALSE(doc->ExchangeImage(image.data(), image.size(), 1));
    slot.address = -5;
    EXPECT_FALSE(doc->ExchangeImage(image.data(), image.size(), 1));
}

TEST_F(ConversionsTest, TracesArePushedConvertedOrRaw) {
    Bind("", Trace(0, "TraceMode 1\nStoreToIntFormula X/10\nIntToDispFormula X*3\n"));
    Point(0, 3) = 200;
    doc->PushTracesToGraph();
    EXPECT_FLOAT_EQ(graph.PointAt(0, 3).value, 60.0f);
    doc->SetShowConverted(false);
    doc->PushTracesToGraph();
    EXPECT_FLOAT_EQ(graph.PointAt(0, 3).value, 200.0f);
}

}  // namespace
}  // namespace korvath
