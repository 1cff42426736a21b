#include "document/tuning_bar_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "support/document_fixture.h"

namespace korvath {
namespace {

using testing::DocumentTest;

class TuningBarLayoutTest : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        doc->SetGraph(&graph);
    }
    TuningBarLayout Lay(const std::string& blocks, const std::string& declarations = "Sel I16 1:0 Def:0\n") {
        EXPECT_TRUE(LoadDefinition(Declarations(declarations) + "[GraphicalTuning]\n" + blocks));
        EXPECT_TRUE(doc->ReadDeclarations(1));
        return LayOutTuningBar(*doc);
    }
    static std::string Trace(int t, int enableButton, const std::string& keys = "") {
        return "GraphElement Trace {\nLogicalName T" + std::to_string(t) + "\nDisplayName Trace " +
               std::to_string(t) + "\nTraceNum " + std::to_string(t) + "\nEnableButton " +
               std::to_string(enableButton) + "\nTraceMode 2\n" + keys + "}\n";
    }
    static std::string Element(const std::string& type, const std::string& name, const std::string& keys = "") {
        return "GraphElement " + type + " {\nLogicalName " + name + "\nDisplayName " + name + "\n" + keys + "}\n";
    }
    void SaveVisible(int t) { doc->calibration().viewState.SetTraceVisible(t, true); }

    CGraphEngine graph;
};

TEST_F(TuningBarLayoutTest, RowsCaptionsAndLabels) {
    SaveVisible(0);
    const TuningBarLayout bar =
        Lay(Trace(0, 0, "TraceColor 0x0000FF\nCallOutFmt %s: %.1f\n") + Trace(1, 1) + Trace(2, 2) +
            Element("Label", "Group") + Trace(3, 1, "SingleLabelEnable @Sel I:0\n") + Trace(4, 2));
    ASSERT_EQ(bar.boxes.size(), 3u);
    const BarCheckBox& first = bar.boxes[0];
    EXPECT_EQ(first.rect, (ControlRect{5, 15, 20, 35}));
    EXPECT_EQ(first.caption.rect, (ControlRect{23, 15, 130, 35}));
    EXPECT_EQ(first.caption.backColor, 0x0000FFu);
    EXPECT_EQ(first.caption.text, "Trace 0");
    EXPECT_EQ(first.checked, 1);
    EXPECT_EQ(graph.TraceAt(0).visible, 1);
    EXPECT_STREQ(graph.TraceAt(0).name, "Trace 0");
    EXPECT_STREQ(graph.TraceAt(0).calloutFormat, "%s: %.1f");

    // A half caption and the shared row's second caption; the box holds both traces.
    const BarCheckBox& shared = bar.boxes[1];
    EXPECT_EQ(shared.rect, (ControlRect{5, 45, 20, 65}));
    EXPECT_EQ(shared.caption.rect, (ControlRect{23, 45, 76, 65}));
    ASSERT_TRUE(shared.hasSecondCaption);
    EXPECT_EQ(shared.secondCaption.rect, (ControlRect{76, 45, 130, 65}));
    EXPECT_EQ(shared.traces[0], 1);
    EXPECT_EQ(shared.traces[1], 2);
    EXPECT_EQ(shared.traces[2], -1);
    EXPECT_EQ(graph.TraceAt(1).color, graph::kDefaultPalette[1]);  // no TraceColor

    // The label: 15 below the row, 16 high; the next row starts 10 below its bottom - 5.
    ASSERT_EQ(bar.labels.size(), 1u);
    EXPECT_EQ(bar.labels[0].rect, (ControlRect{5, 80, 130, 96}));
    const BarCheckBox& afterLabel = bar.boxes[2];
    EXPECT_EQ(afterLabel.rect, (ControlRect{5, 101, 20, 121}));
    // SingleLabelEnable matches: full width, and the second caption overlaps its right half.
    EXPECT_EQ(afterLabel.caption.rect, (ControlRect{23, 101, 130, 121}));
    EXPECT_EQ(afterLabel.secondCaption.rect, (ControlRect{76, 101, 130, 121}));
    EXPECT_EQ(bar.bottom, 121);
}

TEST_F(TuningBarLayoutTest, ProxyNoControlsAndStrayElements) {
    graph.SetTraceVisible(5, 1);
    const TuningBarLayout bar =
        Lay(Trace(2, 2) + Trace(0, 1) + Trace(1, 2, "ProxyEnable @Sel I:0\nProxyFormula X+1\n") +
            Trace(5, -1, "TraceColor 0x123456\nCallOutFmt %.0f\nIntToDispFormula X*3\n") +
            Element("Gauge", "Unknown") + Trace(60, 0));
    // The leading EnableButton 2 has no row to share (see below); trace 60 does not exist.
    ASSERT_EQ(bar.boxes.size(), 2u);
    EXPECT_FALSE(bar.boxes[1].hasSecondCaption);
    EXPECT_EQ(bar.boxes[1].traces[1], -1);
    EXPECT_EQ(doc->traceBinding(1).ProxyActive, 1);
    EXPECT_EQ(graph.TraceAt(1).visible, 0);
    // EnableButton -1: bound and named, visibility untouched.
    EXPECT_EQ(graph.TraceAt(5).color, 0x123456u);
    EXPECT_STREQ(graph.TraceAt(5).calloutFormat, "%.0f");
    EXPECT_EQ(doc->traceBinding(5).formulas[TraceFormula::IntToDisp], "X*3");
    EXPECT_EQ(graph.TraceAt(5).visible, 1);
    EXPECT_EQ(bar.tracesBound, 4);
}

// An EnableButton 2 with no free second caption to take (first of the bar, after a label or a
// button, or a third on a row) gets a row of its own, so no trace is lost from the legend.
TEST_F(TuningBarLayoutTest, ATraceWithNoSecondCaptionToTakeGetsItsOwnRow) {
    SaveVisible(2);
    const TuningBarLayout bar = Lay(Trace(5, 2) + Trace(0, 1) + Trace(1, 2) + Trace(2, 2, "ToolTip Third\n") +
                                    Element("Label", "Group") + Trace(3, 2) +
                                    Element("ControlButton", "Mode", "BitValState0 @Sel I:0\n") + Trace(4, 2));
    ASSERT_EQ(bar.boxes.size(), 6u);
    const int ownRows[] = {0, 2, 3, 5};
    const int traces[] = {5, 2, 3, 4};
    for (int i = 0; i < 4; ++i) {
        const BarCheckBox& box = bar.boxes[static_cast<std::size_t>(ownRows[i])];
        SCOPED_TRACE(traces[i]);
        EXPECT_EQ(box.kind, BarBoxKind::Trace);
        EXPECT_EQ(box.traces[0], traces[i]);
        EXPECT_EQ(box.traces[1], -1);
        EXPECT_EQ(box.caption.rect.right - box.caption.rect.left, 107);  // full width
        EXPECT_EQ(box.caption.text, "Trace " + std::to_string(traces[i]));
    }
    EXPECT_EQ(bar.boxes[1].traces[1], 1);  // the first EnableButton 2 of a row still shares it
    EXPECT_EQ(bar.boxes[2].texts.toolTip, "Third");
    EXPECT_EQ(bar.boxes[2].checked, 1);
    EXPECT_EQ(graph.TraceAt(2).visible, 1);
    EXPECT_EQ(graph.TraceAt(3).visible, 0);
}

TEST_F(TuningBarLayoutTest, LinkAndControlButtons) {
    const std::string blocks = Element("ControlButton", "Mode", "BitValState0 @Sel I:0\nBitValState1 @Sel I:1\n") +
                               Element("TraceLinkButton", "Link", "EnableCondition @Sel I:1\n") +
                               Element("TraceLinkButton", "Always", "BackColor 0x00FF00\n");
    doc->calibration().viewState.SetTraceLinking(1);
    TuningBarLayout bar = Lay(blocks);
    ASSERT_EQ(bar.boxes.size(), 2u);
    EXPECT_EQ(bar.boxes[0].kind, BarBoxKind::ControlButton);
    EXPECT_EQ(bar.boxes[0].checked, 0);
    EXPECT_EQ(bar.boxes[0].caption.rect, (ControlRect{23, 15, 130, 35}));
    EXPECT_EQ(bar.boxes[0].caption.backColor, tuning_bar::kDefaultButtonBackColor);
    EXPECT_EQ(bar.boxes[1].logicalName, "Always");
    EXPECT_EQ(bar.boxes[1].checked, 1);
    EXPECT_EQ(graph.SetLinking(graph::kLinkingQuery), 1);

    // Checking the control button sets the bit; the link button of the condition then appears.
    EXPECT_TRUE(ApplyControlButton(*doc, "Mode", 1));
    EXPECT_EQ(doc->FindIntVariable("Sel").get(), 1);
    EXPECT_TRUE(doc->IsModified());
    bar = LayOutTuningBar(*doc);
    ASSERT_EQ(bar.boxes.size(), 3u);
    EXPECT_EQ(bar.boxes[0].checked, 1);
    EXPECT_EQ(bar.boxes[1].logicalName, "Link");
    EXPECT_FALSE(ApplyControlButton(*doc, "Link", 1));  // not a control button

    ApplyLinkBox(*doc, 0);
    EXPECT_EQ(doc->calibration().viewState.TraceLinking(), 0);
    EXPECT_EQ(graph.SetLinking(graph::kLinkingQuery), 0);
}

TEST_F(TuningBarLayoutTest, TraceBoxKeepsVisibilityInCalibration) {
    const TuningBarLayout bar = Lay(Trace(3, 1) + Trace(4, 2));
    ASSERT_EQ(bar.boxes.size(), 1u);
    ApplyTraceBox(*doc, bar.boxes[0].traces, 1);
    EXPECT_TRUE(doc->calibration().viewState.TraceVisible(3));
    EXPECT_TRUE(doc->calibration().viewState.TraceVisible(4));
    EXPECT_EQ(graph.TraceAt(4).visible, 1);
    EXPECT_TRUE(doc->IsModified());
    ApplyTraceBox(*doc, bar.boxes[0].traces, 0);
    EXPECT_EQ(graph.TraceAt(3).visible, 0);
    EXPECT_EQ(graph.TraceAt(4).visible, 0);
}

// WCAG's contrast ratio of two colours, from their relative luminance.
double ContrastRatio(Color a, Color b) {
    const auto luminance = [](Color c) {
        const auto channel = [](std::uint8_t v) {
            const double x = v / 255.0;
            return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(RedOf(c)) + 0.7152 * channel(GreenOf(c)) + 0.0722 * channel(BlueOf(c));
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The demo's captions carry black text: each background keeps it readable (4.5:1 at least), and
// each curve stays visible on the white plot (3:1, as for graphics).
TEST_F(TuningBarLayoutTest, TheDemoCaptionsAreReadableAndItsCurvesVisible) {
    for (const char* name : {"KV4.def", "KV5.def"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(doc->LoadDefinitionFile(std::string(KORVATH_SOURCE_DIR "/data/PID2/3/") + name));
        ASSERT_TRUE(doc->ReadDeclarations(1));
        const TuningBarLayout bar = LayOutTuningBar(*doc);
        ASSERT_GE(bar.boxes.size(), 5u);
        for (const BarCheckBox& box : bar.boxes) {
            std::vector<const BarCaption*> captions{&box.caption};
            if (box.hasSecondCaption) captions.push_back(&box.secondCaption);
            for (const BarCaption* c : captions) {
                EXPECT_GE(ContrastRatio(c->backColor, tuning_bar::kCaptionTextColor), 4.5) << c->text;
                if (box.kind == BarBoxKind::Trace) {
                    EXPECT_GE(ContrastRatio(c->backColor, MakeColor(255, 255, 255)), 3.0) << c->text;
                }
            }
        }
    }
}

TEST_F(TuningBarLayoutTest, LimitsOfBoxesAndLabels) {
    std::string blocks;
    for (int i = 0; i < 13; ++i) blocks += Element("Label", std::string("L") + std::to_string(i));
    for (int t = 0; t < 40; ++t) blocks += Trace(t, 0);
    SaveVisible(38);
    const TuningBarLayout bar = Lay(blocks);
    EXPECT_EQ(bar.labels.size(), 12u);
    EXPECT_EQ(bar.droppedLabels, 1);
    ASSERT_EQ(bar.boxes.size(), 35u);
    EXPECT_EQ(bar.droppedBoxes, 5);
    EXPECT_EQ(bar.boxes.back().traces[0], 34);
    // Traces past the limit are still bound and shown as the calibration keeps them.
    EXPECT_EQ(bar.tracesBound, 40);
    EXPECT_EQ(graph.TraceAt(38).visible, 1);
    EXPECT_EQ(graph.TraceAt(39).visible, 0);
    EXPECT_STREQ(graph.TraceAt(39).name, "Trace 39");
}

}  // namespace
}  // namespace korvath
