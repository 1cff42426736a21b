// The tuning view on the demo calibration: creation wiring, the plot rectangle, mouse, key and
// wheel input with their edge cases, and the main window as a person sees it.

#include <gtest/gtest.h>

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QMouseEvent>
#include <QStatusBar>
#include <QToolBar>
#include <QWheelEvent>
#include <QWindow>

#include "ui/app/app_fixture.h"
#include "ui/app/command_table.h"
#include "ui/app/control_bar.h"
#include "ui/graph/qtcolor.h"

namespace korvath::testing {
namespace {

using ui::CQRNView;

// A document on the demo definition shown in a view of its own, as the main window shows it.
class ViewTest : public ::testing::Test, private ViewHost {
protected:
    ViewTest() : doc(DocumentHost{host, host, settings}, kBinDir) {
        TestApp();
        doc.LoadDefinitionFile(kDemoDefinition);
        doc.ReadApplicationID();
        doc.ReadDeclarations(1);
        view = std::make_unique<CQRNView>(doc);
        doc.SetViewHost(this);
        doc.RefreshViews(1);
        view->resize(500, 400);
        view->show();
        for (int i = 0; i < 100 && !(view->windowHandle() && view->windowHandle()->isExposed()); ++i)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        QApplication::processEvents();
        view->ComposedImage();  // lays the graph out
    }
    ~ViewTest() override { doc.SetViewHost(nullptr); }

    void RebuildBars() override { shell.RebuildTuningBar(nullptr, doc); }
    void RedrawView() override { view->Redraw(); }
    void RefreshSheetPages(void*) override {}
    void RefreshSettingsSheet(int) override {}

    CGraphEngine& graph() { return view->graph(); }
    std::int16_t Stored(int trace, int column) { return doc.calibration().points[trace][column]; }
    QPoint PointPos(int trace, int column) {
        return {graph().ColumnToX(column), graph().ValueToY(graph().PointAt(trace, column).value)};
    }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, QPointF(at), view->mapToGlobal(QPointF(at)), button, held, mods);
        QApplication::sendEvent(view.get(), &e);
    }
    void Click(QPoint at, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, mods);
        Mouse(QEvent::MouseButtonRelease, at, Qt::NoButton, mods);
    }
    void Wheel(int delta, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        const QPointF at(100, 100);
        QWheelEvent e(at, view->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, mods, Qt::NoScrollPhase,
                      false);
        QApplication::sendEvent(view.get(), &e);
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent e(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(view.get(), &e);
    }

    RecordingHost host;
    MemorySettings settings;
    ui::ShellWindows shell;
    CQRNDoc doc;
    std::unique_ptr<CQRNView> view;
};

TEST_F(ViewTest, CreationHandsTheEngineToTheDocumentAndShowsConvertedValues) {
    EXPECT_EQ(doc.graph(), &graph());
    EXPECT_TRUE(doc.showConverted());
    EXPECT_TRUE(graph().TraceAt(0).visible);
    EXPECT_TRUE(graph().TraceAt(1).visible);
    for (int c = 0; c < 10; ++c) EXPECT_FLOAT_EQ(graph().PointAt(0, c).value, (Stored(0, c) / 16) / 2.0f) << c;
    // A view that goes away leaves the document without an engine.
    view.reset();
    EXPECT_EQ(doc.graph(), nullptr);
}

TEST_F(ViewTest, PlotRectangleKeepsTheMargins) {
    // The engine's layout for a 500 x 400 client area is the one of the plot rectangle
    // (20, 20, 450, 360): setting that rectangle by hand changes nothing.
    std::vector<int> xs, ys;
    auto layout = [&] {
        view->ComposedImage();
        std::vector<int> r;
        for (int c = 0; c < 10; ++c) r.push_back(graph().ColumnToX(c));
        r.push_back(graph().ValueToY(graph().AxisMinimum()));
        r.push_back(graph().ValueToY(graph().AxisMaximum()));
        return r;
    };
    const std::vector<int> fromView = layout();
    graph().SetPlotRect(20, 20, 450, 360);
    EXPECT_EQ(layout(), fromView);
    graph().SetPlotRect(20, 20, 460, 370);
    EXPECT_NE(layout(), fromView);
}

TEST_F(ViewTest, DraggingAPointChangesTheCalibrationInWholeRawStepsAndMarksItModified) {
    ASSERT_FALSE(doc.IsModified());
    const std::int16_t before = Stored(0, 4);
    const QPoint start = PointPos(0, 4);
    const int paints = view->paintCount();
    QString status;
    QObject::connect(view.get(), &ui::CQRNView::editStatus, [&status](const QString& text) { status = text; });
    Mouse(QEvent::MouseButtonPress, start, Qt::LeftButton);
    EXPECT_TRUE(view->holdsCapture());
    Mouse(QEvent::MouseMove, start - QPoint(0, 25), Qt::LeftButton);
    Mouse(QEvent::MouseMove, start - QPoint(0, 47), Qt::LeftButton);
    const QPixmap dragging = view->grab();
    Mouse(QEvent::MouseButtonRelease, start - QPoint(0, 47), Qt::NoButton);
    EXPECT_FALSE(view->holdsCapture());
    // Every handled event painted the view at once.
    EXPECT_EQ(view->paintCount(), paints + 4 + 1);  // and once for the picture taken while dragging
    dragging.save(QString::fromStdString(kBinDir + "/../korvath-view-drag.png"));

    const std::int16_t after = Stored(0, 4);
    EXPECT_GT(after, before);
    EXPECT_EQ(after % 16, 0);  // the table byte is the store value / 16
    EXPECT_FLOAT_EQ(graph().PointAt(0, 4).value, (after / 16) / 2.0f);
    EXPECT_TRUE(doc.IsModified());
    // The status bar followed the drag: the trace, the column, the value shown and stored.
    EXPECT_EQ(status.toStdString(), graph().PointStatusText(0, 4));
    EXPECT_TRUE(status.endsWith(QStringLiteral("(stored %1)").arg(after))) << status.toStdString();
}

// A crosshair move paints only where the crosshair was and is, and the view then shows what a
// whole new picture would show.
TEST_F(ViewTest, ACrosshairMovePaintsOnlyWhereItWasAndIs) {
    graph().SetCrosshair(2.0f, 20.0f);
    view->Redraw();
    const int paints = view->paintCount();
    for (const auto& [x, y] : {std::pair{3.0f, 25.0f}, std::pair{3.2f, 26.0f}, std::pair{-1.0f, -1.0f}}) {
        graph().SetCrosshair(x, y);
        view->RepaintCrosshair();
        const QImage partial = view->shownImage().copy();
        EXPECT_EQ(partial, view->ComposedImage()) << x;
    }
    EXPECT_EQ(view->paintCount(), paints + 3);

    // A hover callout stays while the car drives the crosshair on: only the next input clears it.
    Mouse(QEvent::MouseMove, PointPos(0, 6) + QPoint(2, -2), Qt::NoButton);
    ASSERT_GE(graph().CalloutTrace(), 0);
    for (int i = 0; i < 10; ++i) {
        graph().SetCrosshair(3.0f + 0.2f * static_cast<float>(i), 22.0f + static_cast<float>(i));
        view->RepaintCrosshair();
    }
    EXPECT_EQ(graph().CalloutTrace(), 0);
    view->shownImage().save(QString::fromStdString(kBinDir + "/../korvath-view-callout.png"));  // for a look
    Mouse(QEvent::MouseMove, QPoint(1, 1), Qt::NoButton);
    EXPECT_EQ(graph().CalloutTrace(), -1);
}

TEST_F(ViewTest, WheelStepsCollectTheRemainderAndLoseItWithTheFocus) {
    Click(PointPos(0, 2));  // selects the point
    const std::int16_t base = Stored(0, 2);
    const int paints = view->paintCount();
    for (int i = 0; i < 3; ++i) Wheel(30);
    EXPECT_EQ(Stored(0, 2), base);
    EXPECT_EQ(view->wheelRemainder(), 90);
    EXPECT_EQ(view->paintCount(), paints);  // nothing reached the engine
    Wheel(30);
    EXPECT_EQ(view->wheelRemainder(), 0);
    EXPECT_EQ(Stored(0, 2), base + 16);  // one raw step up
    EXPECT_EQ(view->paintCount(), paints + 1);

    Wheel(250);
    EXPECT_EQ(Stored(0, 2), base + 3 * 16);
    EXPECT_EQ(view->wheelRemainder(), 10);
    Wheel(-100);
    EXPECT_EQ(view->wheelRemainder(), -90);
    QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
    QApplication::sendEvent(view.get(), &out);
    EXPECT_EQ(view->wheelRemainder(), 0);
    Wheel(-30);
    EXPECT_EQ(Stored(0, 2), base + 3 * 16);  // the discarded -90 does not complete a step

    // Shift: five steps a notch.
    Wheel(30);  // back to 0
    Wheel(-120, Qt::ShiftModifier);
    EXPECT_EQ(Stored(0, 2), base + 3 * 16 - 5 * 16);
}

TEST_F(ViewTest, OnlyTheNavigationKeysReachTheEngine) {
    Click(PointPos(1, 5));
    const std::int16_t base = Stored(1, 5);
    int paints = view->paintCount();
    for (int key : {Qt::Key_A, Qt::Key_Return, Qt::Key_Insert, Qt::Key_Delete, Qt::Key_Escape, Qt::Key_F2}) Key(key);
    EXPECT_EQ(view->paintCount(), paints);
    EXPECT_EQ(Stored(1, 5), base);

    Key(Qt::Key_Up);
    EXPECT_EQ(view->paintCount(), paints + 1);
    EXPECT_EQ(Stored(1, 5), base + 16);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Stored(1, 5), base + 16 - 5 * 16);
    // The cursor keys move the selection along the trace.
    Key(Qt::Key_Right);
    EXPECT_EQ(graph().CursorColumn(), 6);
    Key(Qt::Key_Home);
    EXPECT_EQ(graph().CursorColumn(), 0);
    EXPECT_EQ(view->paintCount(), paints + 4);
}

TEST_F(ViewTest, AReleaseOrADragWithoutTheCaptureDoesNothing) {
    const QPoint at = PointPos(0, 6);
    const std::int16_t base = Stored(0, 6);
    int paints = view->paintCount();
    Mouse(QEvent::MouseButtonRelease, at, Qt::NoButton);
    EXPECT_EQ(view->paintCount(), paints);

    Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
    EXPECT_TRUE(view->holdsCapture());
    // Another window takes the mouse (a box opens): the drag is over.
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(view.get(), &deactivate);
    EXPECT_FALSE(view->holdsCapture());
    paints = view->paintCount();
    Mouse(QEvent::MouseMove, at - QPoint(0, 60), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, at - QPoint(0, 60), Qt::NoButton);
    EXPECT_EQ(view->paintCount(), paints);
    EXPECT_EQ(Stored(0, 6), base);
    EXPECT_FALSE(doc.IsModified());

    // Moving without a button is a plain hover, which the engine sees.
    Mouse(QEvent::MouseMove, at, Qt::NoButton);
    EXPECT_EQ(view->paintCount(), paints + 1);
}

TEST(MainWindow, PrintPreviewShowsOnePage) {
    ShellHome env;
    const std::string demo = env.home.File("demo.qvr");
    ASSERT_TRUE(WriteDemoCalibration(demo));
    TestShellApp app(env.options);
    ASSERT_TRUE(app.InitInstance({QString::fromStdString(demo)}));
    int pages = -1;
    bool shown = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!preview) return;
        shown = true;
        if (auto* widget = preview->findChild<QPrintPreviewWidget*>()) pages = widget->pageCount();
        preview->reject();
    });
    poll.start(10);
    app.mainFrame()->action(ui::cmd::FilePrintPreview)->trigger();
    EXPECT_TRUE(shown);
    EXPECT_EQ(pages, 1);
    ASSERT_TRUE(app.mainFrame()->close());
}

TEST(MainWindow, ShowsMenuToolbarCurvesBarsAndStatusBar) {
    ShellHome env;
    const std::string demo = env.home.File("demo.qvr");
    ASSERT_TRUE(WriteDemoCalibration(demo));
    TestShellApp app(env.options);
    ASSERT_TRUE(app.InitInstance({QString::fromStdString(demo)}));
    ui::CMainFrame* frame = app.mainFrame();
    frame->resize(1000, 720);
    QApplication::processEvents();
    const QImage shot = frame->grab().toImage();
    shot.save(QString::fromStdString(kBinDir + "/../korvath-main-window.png"));

    // Every part is where a person looks for it.
    for (QWidget* part : {static_cast<QWidget*>(frame->menuBar()), static_cast<QWidget*>(frame->toolbar()),
                          static_cast<QWidget*>(frame->graphBar()), static_cast<QWidget*>(frame->dashboard()),
                          static_cast<QWidget*>(frame->statusBar()), static_cast<QWidget*>(frame->view())}) {
        EXPECT_TRUE(part->isVisible()) << part->objectName().toStdString();
        EXPECT_GT(part->width(), 0);
    }
    const QRect view = frame->view()->geometry();
    EXPECT_LT(frame->toolbar()->geometry().bottom(), view.top());
    EXPECT_LT(view.right(), frame->graphBar()->geometry().left());
    EXPECT_LT(view.bottom(), frame->dashboard()->geometry().top());
    EXPECT_LT(frame->dashboard()->geometry().bottom(), frame->statusBar()->geometry().top());

    // The two demo curves are drawn in the view part of the screenshot.
    const CGraphEngine& graph = frame->view()->graph();
    for (int trace : {0, 1}) {
        const QColor colour = ui::ToQColor(graph.TraceAt(trace).color);
        const QPoint mid = frame->view()->mapTo(frame, QPoint(graph.ColumnToX(5), graph.ValueToY(graph.PointAt(trace, 5).value)));
        bool found = false;
        for (int dy = -3; dy <= 3 && !found; ++dy)
            for (int dx = -3; dx <= 3 && !found; ++dx) found = shot.pixelColor(mid + QPoint(dx, dy)) == colour;
        EXPECT_TRUE(found) << trace;
    }
    ASSERT_TRUE(frame->close());
}

}  // namespace
}  // namespace korvath::testing
