// The graphical tuning bar's widgets on a test definition: geometry, captions, clicks, rebuilds.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QCoreApplication>
#include <QMouseEvent>
#include <memory>

#include "document/qrndoc.h"
#include "document/tuning_bar_layout.h"
#include "support/qt_test_app.h"
#include "support/recording_host.h"
#include "ui/app/control_id_pool.h"
#include "ui/dynui/control_environment.h"
#include "ui/dynui/dynamicstatic.h"
#include "ui/graph/dynamicdialogbar.h"
#include "ui/graph/legendbutton.h"

namespace korvath {
namespace {

using namespace korvath::testing;

void Click(QWidget* w) {
    const QPointF at(3, 3);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &release);
}

std::string Trace(int t, int enableButton, const std::string& keys = "") {
    return "GraphElement Trace {\nLogicalName T" + std::to_string(t) + "\nDisplayName Curve " + std::to_string(t) +
           "\nTraceNum " + std::to_string(t) + "\nEnableButton " + std::to_string(enableButton) + "\nTraceMode 2\n" +
           keys + "}\n";
}

class TuningBarTest : public ::testing::Test {
protected:
    TuningBarTest() {
        doc = std::make_unique<CQRNDoc>(DocumentHost{host, host, settings}, dir.path());
        doc->SetGraph(&graph);
        ui::DynamicControlEnvironment() = ui::ControlEnvironment{&pool, &host, {}};
        bar.SetViewRepaint([this] { ++viewRepaints; });
    }
    ~TuningBarTest() override {
        bar.BuildBar(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ui::DynamicControlEnvironment() = ui::ControlEnvironment{};
    }
    void Build(const std::string& blocks) {
        const std::string text =
            "[Declarations]\n$TotalBlockSize 64\n$DynamicBlockSize 0\n$NumDynamicTableCells 0\n"
            "$NumDynamicTableEntries 0\n$DynamicBlockStart 64\n$DynamicBlockLayout 0\n$DynamicInterpolation 0\n"
            "$StaticBlockSize 64\n$StaticBlockStart 0\n$NVMType 0\nPerf I16 1:0 Def:0\n[GraphicalTuning]\n" +
            blocks;
        ASSERT_TRUE(doc->LoadDefinitionFile(dir.Write("test.def", text)));
        ASSERT_TRUE(doc->ReadDeclarations(1));
        ASSERT_TRUE(bar.BuildBar(doc.get()));
    }
    ui::CDynamicStatic* Caption(int box, int which = 1) const {
        ui::CLegendButton* b = bar.controls().at(static_cast<std::size_t>(box));
        return qobject_cast<ui::CDynamicStatic*>(which == 1 ? b->companion1.get() : b->companion2.get());
    }

    struct App {
        App() { TestApp(); }
    } app;  // before the bar
    TempDir dir;
    RecordingHost host;
    MemorySettings settings;
    CGraphEngine graph;
    std::unique_ptr<CQRNDoc> doc;
    ui::ControlIdPool pool;
    ui::CDynamicDialogBar bar;
    int viewRepaints = 0;
};

TEST_F(TuningBarTest, WidgetsStandWhereTheLayoutSays) {
    Build("GraphElement Label {\nLogicalName G\nDisplayName Upshifts\n}\n" +
          Trace(0, 1, "TraceColor 0x0000FF\nToolTip Show it\nHelpText About curve 0\n") + Trace(1, 2) +
          Trace(2, 0));
    ASSERT_EQ(bar.controls().size(), 2u);
    ASSERT_EQ(bar.captions().size(), 1u);
    EXPECT_EQ(bar.captions()[0]->geometry(), QRect(5, 20, 125, 16));
    EXPECT_EQ(bar.captions()[0]->text(), QStringLiteral("Upshifts"));
    ui::CLegendButton* shared = bar.controls()[0];
    EXPECT_EQ(shared->geometry(), QRect(5, 41, 15, 20));
    EXPECT_EQ(Caption(0)->geometry(), QRect(23, 41, 53, 20));
    EXPECT_EQ(Caption(0, 2)->geometry(), QRect(76, 41, 54, 20));
    EXPECT_EQ(bar.controls()[1]->geometry(), QRect(5, 71, 15, 20));
    EXPECT_EQ(Caption(1)->geometry(), QRect(23, 71, 107, 20));
    // What assistive tools and the main window read.
    EXPECT_EQ(shared->accessibleName(), QStringLiteral("Curve 0"));
    EXPECT_EQ(Caption(0)->backColor, 0x0000FFu);
    EXPECT_EQ(Caption(0)->colored, 1);
    EXPECT_EQ(pool.ToolTip(shared->controlId).value_or(""), "Show it");
    EXPECT_EQ(pool.ToolTip(Caption(0)->controlId).value_or(""), "Show it");
    EXPECT_EQ(pool.HelpText(Caption(0)->controlId).value_or(""), "About curve 0");
    EXPECT_GE(viewRepaints, 1);
}

TEST_F(TuningBarTest, ACaptionThatCannotFitGivesItsWholeNameAsTooltip) {
    Build(Trace(0, 1, "ToolTip Show it\n") +
          "GraphElement Trace {\nLogicalName Long\nDisplayName Performance pressure (psi)\nTraceNum 1\n"
          "EnableButton 2\nTraceMode 2\n}\n");
    EXPECT_EQ(pool.ToolTip(Caption(0)->controlId).value_or(""), "Show it");  // "Curve 0" fits
    EXPECT_EQ(pool.ToolTip(Caption(0, 2)->controlId).value_or(""), "Performance pressure (psi)");
    EXPECT_EQ(Caption(0, 2)->text(), QStringLiteral("Performance pressure (psi)"));
}

TEST_F(TuningBarTest, CaptionClickTogglesTheRow) {
    Build(Trace(0, 1) + Trace(1, 2));
    ui::CLegendButton* box = bar.controls()[0];
    const bool before = box->isChecked();
    EXPECT_EQ(graph.TraceAt(1).visible, before ? 1 : 0);  // the second trace follows the row's box
    Click(Caption(0, 2));
    EXPECT_EQ(box->isChecked(), !before);
    EXPECT_EQ(graph.TraceAt(0).visible, before ? 0 : 1);
    EXPECT_EQ(graph.TraceAt(1).visible, before ? 0 : 1);
    EXPECT_EQ(doc->calibration().viewState.TraceVisible(1), !before);
    EXPECT_TRUE(doc->IsModified());
    Click(Caption(0));
    EXPECT_EQ(box->isChecked(), before);
    EXPECT_EQ(graph.TraceAt(0).visible, before ? 1 : 0);
    EXPECT_EQ(graph.TraceAt(1).visible, before ? 1 : 0);
}

TEST_F(TuningBarTest, ControlButtonRebuildsWithItsCondition) {
    Build(Trace(0, 1) + Trace(1, 2, "ProxyEnable @Perf I:1\nProxyFormula X*2\n") +
          "GraphElement ControlButton {\nLogicalName Mode\nDisplayName Performance\n"
          "BitValState0 @Perf I:0\nBitValState1 @Perf I:1\n}\n"
          "GraphElement TraceLinkButton {\nLogicalName Link\nDisplayName Link curves\nEnableCondition @Perf I:1\n}\n");
    ASSERT_EQ(bar.controls().size(), 2u);
    EXPECT_TRUE(Caption(0, 2));  // no proxy yet: the shared row has its second caption
    Click(Caption(1));
    // Built again at once: the proxy hides trace 1 and the link button is there.
    EXPECT_EQ(doc->FindIntVariable("Perf").get(), 1);
    ASSERT_EQ(bar.controls().size(), 3u);
    EXPECT_EQ(bar.controls()[2]->logicalName, "Link");
    EXPECT_TRUE(bar.controls()[1]->isChecked());
    EXPECT_EQ(Caption(0, 2), nullptr);
    EXPECT_EQ(doc->traceBinding(1).ProxyActive, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(bar.findChildren<ui::CLegendButton*>().size(), 3u);  // the old controls are gone

    const int linked = bar.controls()[2]->isChecked() ? 1 : 0;
    EXPECT_EQ(graph.SetLinking(graph::kLinkingQuery), linked);
    Click(Caption(2));
    EXPECT_EQ(doc->calibration().viewState.TraceLinking(), 1 - linked);
    EXPECT_EQ(graph.SetLinking(graph::kLinkingQuery), 1 - linked);

    // A screen reader's Toggle is a click too: the bit is cleared and the bar built again.
    QAccessibleInterface* mode = QAccessible::queryAccessibleInterface(bar.controls()[1]);
    ASSERT_TRUE(mode && mode->actionInterface());
    mode->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCoreApplication::processEvents();
    EXPECT_EQ(doc->FindIntVariable("Perf").get(), 0);
    EXPECT_EQ(bar.controls().size(), 2u);
}

TEST_F(TuningBarTest, FullBarAndNoSection) {
    std::string blocks;
    for (int t = 0; t < 40; ++t) blocks += Trace(t, 0);
    Build(blocks);
    EXPECT_EQ(bar.controls().size(), 35u);
    EXPECT_EQ(bar.height(), bar.controls().back()->geometry().bottom() + 1 + 5);
    // The ids go back to the pool when the bar is rebuilt without the section.
    ASSERT_TRUE(doc->LoadDefinitionFile(dir.Write("empty.def", "[Other]\n")));
    EXPECT_FALSE(bar.BuildBar(doc.get()));
    EXPECT_TRUE(bar.controls().empty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(pool.AllocateControlId(), ui::ControlIdPool::kFirstId);
}

}  // namespace
}  // namespace korvath
