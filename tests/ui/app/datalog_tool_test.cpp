// Data logs in the program against a driving korvath-sim: recording from the Tools menu with the
// status bar and the dashboard kept on, the log refused for another definition, the replay onto
// the dashboard, the crosshair and its trail, and the trail's switch kept in the settings.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <fstream>

#include "app_fixture.h"
#include "comm/serialport.h"
#include "datalog/data_log_reader.h"
#include "platform/settings_keys.h"
#include "support/sim_process.h"
#include "ui/app/control_id_pool.h"
#include "ui/app/qt_hosts.h"
#include "ui/dashboard/dashboard.h"
#include "ui/dynui/control_environment.h"
#include "ui/dynui/dynamicstatic.h"
#include "ui/graph/dynamicdialogbar.h"
#include "ui/tools/crosshair_trail_tool.h"
#include "ui/tools/data_log_tool.h"
#include "ui/tools/log_viewer_window.h"
#include "ui/tools/shift_markers_overlay.h"
#include "ui/tools/replay_panel.h"
#include "ui/tools/tools_menu.h"

namespace korvath::testing {
namespace {

// Lets the program run (its timers, the poller) for `ms`.
void RunFor(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

class DataLogToolTest : public ::testing::Test {
protected:
    DataLogToolTest() {
        sim = std::make_unique<test::SimProcess>(std::vector<std::string>{"--hardware", "2"}, true);
        SerialPortConfig config;
        config.devicePath = sim->pty();
        doc = std::make_unique<CQRNDoc>(DocumentHost{host, host, settings, &timer}, dir.path(),
                                        std::make_unique<CSerialPort>(config, nullptr));
        ui::DynamicControlEnvironment() = ui::ControlEnvironment{&pool, &host, {}};
        std::ifstream in(kDemoDefinition);
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_TRUE(doc->IdentifyController(0, 1));
        EXPECT_TRUE(doc->LoadDefinitionFile(dir.Write("PID2/3/KV4.def", text.str())));
        EXPECT_TRUE(doc->ReadApplicationID());
        EXPECT_TRUE(doc->ReadDeclarations(1));
        doc->calibration().application.DefinitionFileName = "KV4.def";

        frame.resize(1000, 700);
        view = new ui::CQRNView(*doc, &frame);
        frame.setCentralWidget(view);
        dock = new QDockWidget(QStringLiteral("Dashboard"), &frame);
        dashboard = new ui::CDashboard(dock);
        dock->setWidget(dashboard);
        frame.addDockWidget(Qt::BottomDockWidgetArea, dock);
        dashboard->document = doc.get();
        dashboard->SetTuningView(view);
        dashboard->CreateFonts();
        dashboard->setMinimumHeight(90);
        EXPECT_TRUE(dashboard->BuildDashboard());
        // The tuning bar shows the definition's curves, as in the program.
        auto* graphDock = new QDockWidget(QStringLiteral("Graph Controls"), &frame);
        tuningBar = new ui::CDynamicDialogBar(graphDock);
        graphDock->setWidget(tuningBar);
        frame.addDockWidget(Qt::RightDockWidgetArea, graphDock);
        tuningBar->SetViewRepaint([this] { view->Redraw(); });
        EXPECT_TRUE(tuningBar->BuildBar(doc.get()));
        doc->PushTracesToGraph();
        tools = new ui::ToolsMenu(frame, *doc, *view, settings, [] { return QStringLiteral("demo"); }, dock);
        frame.show();
        QCoreApplication::processEvents();
    }
    ~DataLogToolTest() override {
        dashboard->TeardownDashboard();
        tuningBar->BuildBar(nullptr);
        ui::DynamicControlEnvironment() = ui::ControlEnvironment{};
    }
    ui::DataLogTool& log() { return tools->dataLog(); }

    struct AppFirst {
        AppFirst() { TestApp(); }
    } appFirst;  // the widgets below need the application
    TempDir dir;
    RecordingHost host;
    MemorySettings settings;
    ui::QtTimerHost timer;
    ui::ControlIdPool pool;
    std::unique_ptr<test::SimProcess> sim;
    std::unique_ptr<CQRNDoc> doc;
    QMainWindow frame;
    ui::CQRNView* view = nullptr;
    QDockWidget* dock = nullptr;
    ui::CDashboard* dashboard = nullptr;
    ui::ToolsMenu* tools = nullptr;
    ui::CDynamicDialogBar* tuningBar = nullptr;
};

TEST_F(DataLogToolTest, ADriveIsRecordedAndReplayedOntoTheCurvesWithItsTrail) {
    const QString path = QString::fromStdString(dir.File("drive.csv"));
    EXPECT_TRUE(ui::DataLogTool::DefaultLogPath().contains(QStringLiteral("/korvath/logs/drive-")));
    ASSERT_TRUE(log().StartLogging(path));
    EXPECT_FALSE(log().startAction()->isEnabled());
    EXPECT_TRUE(log().stopAction()->isEnabled());
    EXPECT_FALSE(log().statusLabel()->isHidden());
    EXPECT_EQ(log().statusLabel()->text(), QStringLiteral("Data log drive.csv: 0:00:00, 0 rows"));

    // The poller reads only while the dashboard is built: hiding it is undone.
    dock->hide();
    RunFor(100);
    EXPECT_FALSE(dock->isHidden());
    // The simulated car pulls away four seconds after its start.
    RunFor(7000);
    const QString status = log().statusLabel()->text();
    EXPECT_TRUE(status.startsWith(QStringLiteral("Data log drive.csv: 0:00:0"))) << status.toStdString();
    log().StopLogging();
    EXPECT_TRUE(log().statusLabel()->isHidden());
    EXPECT_TRUE(log().startAction()->isEnabled());

    datalog::DataLogReader reader;
    std::string why;
    ASSERT_TRUE(reader.Open(path.toStdString(), why)) << why;
    EXPECT_GE(reader.rowCount(), 5u);
    std::filesystem::copy_file(path.toStdString(), KORVATH_BIN_DIR "/datalog-drive.csv",
                               std::filesystem::copy_options::overwrite_existing);  // for a look
    EXPECT_EQ(reader.layout().definition, "KV4.def (KV4 Four-Speed)");

    // Another definition's log is refused, naming both.
    {
        std::ifstream in(path.toStdString(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        std::string text = s.str();
        text.replace(text.find("KV4.def (KV4 Four-Speed)"), 24, "KV6.def (KV6 Six-Speed)");
        dir.Write("other.csv", text);
    }
    {
        BoxAnswerer boxes;
        EXPECT_FALSE(log().OpenLog(QString::fromStdString(dir.File("other.csv"))));
        ASSERT_EQ(boxes.seen.size(), 1u);
        EXPECT_TRUE(boxes.seen[0].text.contains(QStringLiteral("KV6.def (KV6 Six-Speed)")));
        EXPECT_TRUE(boxes.seen[0].text.contains(QStringLiteral("KV4.def (KV4 Four-Speed)")));
        EXPECT_FALSE(log().replay()->replaying());
    }

    // The replay: from just before the car moved, at x4; the link stays as it is.
    ASSERT_TRUE(log().OpenLog(path));
    ui::ReplayPanel& replay = *log().replay();
    EXPECT_TRUE(replay.replaying());
    EXPECT_FALSE(replay.isHidden());
    EXPECT_TRUE(dashboard->replaying());
    EXPECT_EQ(replay.slider()->accessibleName(), QStringLiteral("Position"));
    EXPECT_EQ(replay.speedBox()->count(), 3);
    EXPECT_EQ(replay.speedBox()->itemText(2), QString::fromUtf8("\u00d716"));
    replay.SeekSlider(450);
    replay.SetSpeed(4);
    replay.Play();
    EXPECT_EQ(replay.playButton()->text(), QStringLiteral("Pause"));
    RunFor(900);
    replay.Pause();
    EXPECT_EQ(replay.playButton()->text(), QStringLiteral("Play"));
    EXPECT_GT(replay.clock().position(), reader.durationMs() / 2);
    EXPECT_EQ(doc->monitor()->is_connected(), 1);

    datalog::LogRow row;
    ASSERT_TRUE(reader.ReadRow(replay.shownRow(), row));
    ASSERT_TRUE(row.crosshairX);
    EXPECT_FLOAT_EQ(view->graph().CrosshairX(), *row.crosshairX);
    EXPECT_EQ(dashboard->displays()[1]->text(), QString::fromStdString(row.cells[2]));  // the gear
    EXPECT_GE(tools->trail().trail().size(), 2u);
    frame.grab().save(QStringLiteral(KORVATH_BIN_DIR "/datalog-replay.png"));  // for a look

    replay.Stop();
    EXPECT_FALSE(dashboard->replaying());
    EXPECT_TRUE(replay.isHidden());
}

// A short drive of the demo definition's items, written by hand: first to second at 1 s, back
// to first at 2 s.
constexpr const char* kDemoLog =
    "Time,Throttle,Gear,Speed,Lock-up,Line press.,Solenoids,Coolant,Trans. oil,Battery,Throttle (raw),Gear (raw),"
    "Speed (raw),Lock-up (raw),Line press. (raw),Solenoids (raw),Coolant (raw),Trans. oil (raw),Battery (raw),"
    "Crosshair X,Crosshair Y,Link,Definition\r\n"
    "ms,%,,mph,,%,,C,C,V,,,,,,,,,,column,mph,,KV4.def (KV4 Four-Speed)\r\n"
    "0,50,First,20.0,Open,46,A,28,26,14.1,128,1,0 200,0,118,1,68,66,226,4.5,20,,\r\n"
    "1000,55,Second,30.5,Open,50,A+B,28,26,14.1,140,2,1 49,0,127,3,68,66,226,5,30.5,,\r\n"
    "2000,0,First,6.0,Open,16,A,28,26,14.1,0,1,0 60,0,40,1,68,66,226,0,6,,\r\n";

TEST_F(DataLogToolTest, TheViewersCursorAndTheReplayMoveTogetherAndTheShiftsAreMarked) {
    const QString path = QString::fromStdString(dir.Write("short.csv", kDemoLog));
    ASSERT_TRUE(log().ViewLog(path));
    ui::LogViewerWindow* viewer = log().viewer();
    ASSERT_NE(viewer, nullptr);
    viewer->setAttribute(Qt::WA_DeleteOnClose, false);
    ui::ReplayPanel& replay = *log().replay();
    EXPECT_TRUE(replay.replaying());
    ASSERT_EQ(log().shiftMarkers()->shifts().size(), 2u);
    EXPECT_EQ(log().shiftMarkers()->shifts()[0].direction, datalog::ShiftDirection::Up);

    // A shift chosen in the viewer moves the replay there: the crosshair stands at the shift.
    viewer->shiftList()->setCurrentRow(0);
    EXPECT_EQ(replay.clock().position(), 1000);
    EXPECT_FLOAT_EQ(view->graph().CrosshairX(), 5.0f);
    EXPECT_EQ(dashboard->displays()[1]->text(), QStringLiteral("Second"));
    // The replay moved elsewhere takes the cursor along.
    replay.SeekTime(2000);
    EXPECT_EQ(viewer->cursorTime(), 2000);

    replay.Stop();
    EXPECT_TRUE(log().shiftMarkers()->shifts().empty());
    // After the replay, the viewer's cursor no longer drives one.
    viewer->shiftList()->setCurrentRow(1);
    EXPECT_FALSE(replay.replaying());

    // Another definition's log is shown by its columns, without a replay or a message.
    std::string other = kDemoLog;
    other.replace(other.find("KV4.def (KV4 Four-Speed)"), 24, "KV6.def (KV6 Six-Speed)");
    BoxAnswerer boxes;
    ASSERT_TRUE(log().ViewLog(QString::fromStdString(dir.Write("other.csv", other))));
    EXPECT_TRUE(boxes.seen.empty());
    EXPECT_FALSE(replay.replaying());
    EXPECT_NE(log().viewer(), viewer);
    EXPECT_EQ(log().viewer()->shifts().shifts.size(), 2u);
    log().viewer()->close();
    delete viewer;
}

TEST_F(DataLogToolTest, TheTrailSwitchIsKeptInTheSettings) {
    ui::CrosshairTrailTool& trail = tools->trail();
    EXPECT_TRUE(trail.enabled());
    EXPECT_TRUE(trail.action()->isChecked());
    trail.action()->trigger();
    EXPECT_FALSE(trail.enabled());
    EXPECT_EQ(settings.GetInt(settings::kDataLog, settings::kCrosshairTrail, 1), 0);
    view->graph().SetCrosshair(2.0f, 30.0f);
    trail.Sample();
    EXPECT_TRUE(trail.trail().empty());
    trail.action()->trigger();
    trail.Sample();
    EXPECT_EQ(trail.trail().size(), 1u);
    EXPECT_EQ(settings.GetInt(settings::kDataLog, settings::kCrosshairTrail, 0), 1);
}

}  // namespace
}  // namespace korvath::testing
