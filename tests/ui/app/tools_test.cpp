// The Tools menu: comparing with another calibration (dashed curves, the list of differences,
// the edited calibration left alone) and exporting the curves as a picture.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QDockWidget>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidget>

#include "app_fixture.h"
#include "calibration/curve_export.h"
#include "ui/app/command_table.h"
#include "ui/app/control_bar.h"
#include "ui/tools/compare_tool.h"
#include "ui/tools/curve_export_tool.h"
#include "ui/tools/report_dialog.h"
#include "ui/tools/report_tool.h"
#include "ui/tools/tools_menu.h"

namespace korvath::testing {
namespace {

class ToolsTest : public ::testing::Test {
protected:
    ToolsTest() : app(env.options) {
        EXPECT_TRUE(app.InitInstance({}));
        demo = QString::fromStdString(env.home.File("demo.qvr"));
        other = QString::fromStdString(env.home.File("other.qvr"));
        EXPECT_TRUE(WriteDemoCalibration(demo.toStdString()));
        EXPECT_TRUE(app.OpenDocumentFile(demo));
    }
    CQRNDoc& doc() { return *app.document(); }
    ui::ToolsMenu& tools() { return *app.mainFrame()->tools(); }
    CGraphEngine& graph() { return app.mainFrame()->view()->graph(); }
    ShellHome env;
    TestShellApp app;
    QString demo, other;
};

TEST_F(ToolsTest, ToolsMenuStandsBeforeHelpWithItsItems) {
    const QList<QAction*> top = app.mainFrame()->menuBar()->actions();
    ASSERT_EQ(top.size(), 5);
    EXPECT_EQ(top[3]->menu(), tools().menu());
    QStringList texts;
    for (QAction* a : tools().menu()->actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(texts, (QStringList{"Compare with Calibration...", "Stop Comparing", "-", "Export Curves...",
                                  "Calibration Report...", "-",
                                  "Start Data Log...", "Stop Data Log", "Open Data Log...", "Data Log Viewer...",
                                  "Crosshair Trail", "Check Calibration", "-", "Restore Points...",
                                  "Read Flash Table Before Writing", "-", "Communication Trace...", "-", "Curve Values",
                                  "Undo History..."}));
    EXPECT_FALSE(tools().compare().stopAction()->isEnabled());
}

TEST_F(ToolsTest, ComparingDrawsTheOtherCurvesAndListsDifferencesWithoutTouchingTheEdited) {
    {  // The other calibration: trace 0 moved, one setting changed.
        MemorySettings settings;
        RecordingHost host;
        CQRNDoc o(DocumentHost{host, host, settings}, kBinDir);
        ASSERT_TRUE(OpenCalibrationFile(o, demo.toStdString(), {[](CQRNDoc&) {}, [](CQRNDoc&) {}}));
        o.calibration().points[0][4] = 1920;
        ASSERT_TRUE(o.SetIntVariable("SpeedCal", 120));
        ASSERT_TRUE(SaveCalibrationFile(o, other.toStdString()));
    }
    const std::string before = CalibrationFileBytes(doc());
    ui::CompareTool& compare = tools().compare();
    ASSERT_TRUE(compare.StartComparing(other));
    EXPECT_TRUE(compare.comparing());
    EXPECT_TRUE(compare.stopAction()->isEnabled());

    // The other's visible curves lie behind the edited ones, in display units.
    EXPECT_TRUE(graph().HasOverlay(0));
    EXPECT_TRUE(graph().HasOverlay(1));
    EXPECT_FALSE(graph().HasOverlay(2));
    EXPECT_FLOAT_EQ(graph().OverlayValue(0, 4), 60.0f);  // 1920 / 32 mph
    EXPECT_NE(graph().PointAt(0, 4).value, 60.0f);

    ASSERT_FALSE(compare.panel()->isHidden());
    app.mainFrame()->show();
    QStringList rows;
    for (int i = 0; i < compare.list()->topLevelItemCount(); ++i) rows << compare.list()->topLevelItem(i)->text(0);
    // In the pages' words.
    EXPECT_TRUE(rows.contains(QStringLiteral("Vehicle Numbers > Speedometer (%)")))
        << rows.join(", ").toStdString();
    EXPECT_TRUE(rows.contains(QStringLiteral("1-2 Up, Point 4"))) << rows.join(", ").toStdString();

    // Beside the curves, not over the dashboard; every column and ten rows in view.
    ui::CMainFrame& frame = *app.mainFrame();
    QApplication::processEvents();  // the window lays its bars out
    frame.grab().save(QStringLiteral(KORVATH_BIN_DIR "/tools-compare.png"));  // for a look
    EXPECT_NE(frame.dockWidgetArea(compare.panel()), frame.dockWidgetArea(frame.dashboard()));
    QTreeWidget& list = *compare.list();
    const int rowHeight = list.visualItemRect(list.topLevelItem(0)).height();
    EXPECT_GE(list.viewport()->height(), 10 * rowHeight);
    for (int c = 0; c < list.columnCount(); ++c) {
        EXPECT_GT(list.header()->sectionSize(c), 0) << c;
        EXPECT_LE(list.header()->sectionViewportPosition(c) + list.header()->sectionSize(c), list.viewport()->width())
            << c;
    }
    // Copy as text: a line per difference.
    compare.copyButton()->click();
    const QString copied = QLatin1Char('\n') + QGuiApplication::clipboard()->text();
    EXPECT_TRUE(copied.contains(QStringLiteral("\nVehicle Numbers > Speedometer (%): 100.00 \u2192 120.00\n")))
        << copied.toStdString();
    // Everything compared, the equal items too, and back.
    compare.changedOnly()->setChecked(false);
    EXPECT_GT(compare.list()->topLevelItemCount(), 500);
    compare.changedOnly()->setChecked(true);
    EXPECT_EQ(compare.list()->topLevelItemCount(), rows.size());

    // Editing the compared-with point to the same value shortens the list at the next refresh.
    doc().calibration().points[0][4] = 1920;
    compare.RefreshDifferences();
    EXPECT_EQ(compare.list()->topLevelItemCount(), rows.size() - 1);

    compare.StopComparing();
    EXPECT_FALSE(graph().HasOverlay(0));
    EXPECT_TRUE(compare.panel()->isHidden());
    EXPECT_FALSE(compare.stopAction()->isEnabled());
    compare.panel()->show();  // as a saved bar layout would
    EXPECT_TRUE(compare.panel()->isHidden());

    // A file that cannot be read starts nothing.
    BoxAnswerer boxes;
    EXPECT_FALSE(compare.StartComparing(QString::fromStdString(env.home.File("missing.qvr"))));
    EXPECT_FALSE(compare.comparing());
}

TEST_F(ToolsTest, ComparingNeverChangesTheEditedCalibration) {
    const std::string before = CalibrationFileBytes(doc());
    ASSERT_TRUE(tools().compare().StartComparing(demo));
    tools().compare().RefreshDifferences();
    EXPECT_EQ(tools().compare().list()->topLevelItemCount(), 1);  // "No differences"
    tools().compare().StopComparing();
    EXPECT_EQ(CalibrationFileBytes(doc()), before);
    EXPECT_FALSE(doc().IsModified());
}

TEST_F(ToolsTest, ExportCurvesWritesThePictureOfTheView) {
    const QString png = QString::fromStdString(env.home.File("curves.png"));
    ASSERT_TRUE(tools().curveExport().ExportCurves(png));
    QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), app.mainFrame()->view()->size().expandedTo(QSize(200, 200)));

    BoxAnswerer boxes;
    EXPECT_FALSE(tools().curveExport().ExportCurves(QString::fromStdString(env.home.File("curves.gif"))));
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].caption, "Export Curves:");

    // The CSV table is the command line's export of the same calibration.
    ASSERT_TRUE(tools().curveExport().ExportCurves(QString::fromStdString(env.home.File("curves.CSV"))));
    const std::string csv = env.home.Read("curves.CSV");
    EXPECT_EQ(csv, ExportCsv(ExportRows(doc())));
    EXPECT_NE(csv.find("1-2 Up,"), std::string::npos);
}

TEST_F(ToolsTest, CalibrationReportSavesAPdfWithTheChangesFromAnotherCalibration) {
    {
        MemorySettings settings;
        RecordingHost host;
        CQRNDoc o(DocumentHost{host, host, settings}, kBinDir);
        ASSERT_TRUE(OpenCalibrationFile(o, demo.toStdString(), {[](CQRNDoc&) {}, [](CQRNDoc&) {}}));
        ASSERT_TRUE(o.SetIntVariable("TCCEnable", 0));
        ASSERT_TRUE(SaveCalibrationFile(o, other.toStdString()));
    }
    const std::string before = CalibrationFileBytes(doc());
    ui::ReportTool& report = tools().report();
    // The other calibration's curves go behind the report's, not the Differences panel's.
    CGraphEngine behind(graph().TraceCount(), graph().PointCount());
    const std::optional<CalibrationReport> content = report.BuildReport(other, &behind);
    ASSERT_TRUE(content.has_value());
    EXPECT_TRUE(behind.HasOverlay(0));
    EXPECT_FALSE(graph().HasOverlay(0));
    const std::string text = ReportText(*content);
    EXPECT_NE(text.find("File: demo.qvr\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Changes\n  Shift Program > Torque converter lock-up: on \u2192 off\n"), std::string::npos)
        << text;

    const QString pdf = QString::fromStdString(env.home.File("report.pdf"));
    ASSERT_TRUE(report.SaveReport(pdf, other));
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("%PDF-"));
    EXPECT_EQ(CalibrationFileBytes(doc()), before);
    EXPECT_FALSE(doc().IsModified());

    // A second calibration that cannot be read makes no report.
    const QString none = QString::fromStdString(env.home.File("none.pdf"));
    BoxAnswerer boxes;
    EXPECT_FALSE(report.SaveReport(none, QString::fromStdString(env.home.File("missing.qvr"))));
    EXPECT_FALSE(QFile::exists(none));
    EXPECT_FALSE(boxes.seen.empty());
}

TEST_F(ToolsTest, ReportDialogOffersTheComparedCalibration) {
    ui::ReportDialog offered(app.mainFrame(), other);
    EXPECT_TRUE(offered.compareBox()->isChecked());
    EXPECT_EQ(offered.comparePath(), other);
    offered.compareBox()->setChecked(false);
    EXPECT_TRUE(offered.comparePath().isEmpty());
    EXPECT_FALSE(offered.pathEdit()->isEnabled());
    ui::ReportDialog plain(app.mainFrame(), QString());
    EXPECT_FALSE(plain.compareBox()->isChecked());
    EXPECT_TRUE(plain.comparePath().isEmpty());
    EXPECT_FALSE(plain.pathEdit()->accessibleName().isEmpty());
}

// The Write command asks only when the check finds something, and No writes nothing.
TEST_F(ToolsTest, WriteAsksOnlyWhenTheCheckFindsSomething) {
    env.controller.connected = true;
    {
        BoxAnswerer boxes;
        app.mainFrame()->OnCommand(ui::cmd::WriteCalibration);
        EXPECT_TRUE(boxes.seen.empty());
    }
    EXPECT_EQ(env.controller.writes, 1);
    doc().SetHeld("KV5.def", "KV5 Five-Speed");  // as the last read of this link found
    doc().calibration().points[1][2] = doc().calibration().points[0][2];
    {
        BoxAnswerer boxes({QMessageBox::No});
        app.mainFrame()->OnCommand(ui::cmd::WriteCalibration);
        ASSERT_EQ(boxes.seen.size(), 1u);
        EXPECT_EQ(boxes.seen[0].caption, "Check Calibration:");
        EXPECT_TRUE(boxes.seen[0].text.contains("You are writing KV4 Four-Speed to a controller that holds KV5 "
                                                "Five-Speed.")) << boxes.seen[0].text.toStdString();
        EXPECT_TRUE(boxes.seen[0].text.contains("2-1 Down is at or above 1-2 Up at column 3"));
    }
    EXPECT_EQ(env.controller.writes, 1);
    {
        BoxAnswerer boxes({QMessageBox::Yes});
        app.mainFrame()->OnCommand(ui::cmd::WriteCalibration);
    }
    EXPECT_EQ(env.controller.writes, 2);
    doc().ShowConnectionStatus(0);  // a lost link forgets what the controller holds
    EXPECT_EQ(doc().HeldDefinition(), "");
}

}  // namespace
}  // namespace korvath::testing
