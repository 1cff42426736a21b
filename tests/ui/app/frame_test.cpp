// The main window against its command table, the control-id pool, the bars and their close
// rules, help routing, command states, standby and the window's size rules.

#include <gtest/gtest.h>

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <functional>
#include <set>

#include "ui/app/app_fixture.h"
#include "ui/app/command_table.h"
#include "ui/app/control_bar.h"
#include "ui/app/screen_fit.h"

namespace korvath::testing {
namespace {

using ui::CMainFrame;
using ui::ControlIdPool;
namespace cmd = ui::cmd;

class FrameTest : public ::testing::Test {
protected:
    FrameTest() : app(env.options) {
        EXPECT_TRUE(app.InitInstance({}));
        frame = app.mainFrame();
    }
    ShellHome env;
    TestShellApp app;
    CMainFrame* frame = nullptr;
};

QAction* MenuItem(QMenu* menu, int id) {
    for (QAction* a : menu->actions())
        if (a->data().toInt() == id) return a;
    return nullptr;
}

TEST_F(FrameTest, MenusCarryEveryCommandOfTheTableVerbatim) {
    const QList<QAction*> top = frame->menuBar()->actions();
    // The Tools menu stands between View and Help.
    ASSERT_EQ(top.size(), 5);
    EXPECT_EQ(top[0]->text(), "&File");
    EXPECT_EQ(top[1]->text(), "&Edit");
    EXPECT_EQ(top[2]->text(), "&View");
    EXPECT_EQ(top[3]->text(), "&Tools");
    EXPECT_EQ(top[4]->text(), "&Help");

    int inMenus = 0;
    for (const ui::CommandInfo& c : ui::Commands()) {
        QAction* a = frame->action(c.id);
        ASSERT_NE(a, nullptr) << c.id;
        EXPECT_EQ(a->statusTip(), QString::fromUtf8(c.statusText)) << c.id;
        if (*c.toolTip) {
            EXPECT_EQ(a->toolTip(), QString::fromUtf8(c.toolTip)) << c.id;
        }
        if (c.menu == ui::MenuName::None) continue;
        QMenu* menu = top[c.menu == ui::MenuName::Help ? 4 : static_cast<int>(c.menu)]->menu();
        EXPECT_EQ(MenuItem(menu, c.id), a) << c.id;
        EXPECT_EQ(a->text(), QString::fromUtf8(c.menuText)) << c.id;
        ++inMenus;
    }
    EXPECT_EQ(inMenus, 28);
    EXPECT_EQ(frame->action(cmd::FileNew)->text(), "&New\tCtrl+N");
    EXPECT_EQ(frame->action(cmd::CommunicationSetup)->toolTip(), "Show  Communication Setup");
    EXPECT_EQ(frame->action(cmd::GettingStarted)->statusTip(), "Displays the \"Getting Started\" information box");

    // Keys, the second sequences of the edit items included.
    EXPECT_EQ(frame->action(cmd::FileOpen)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(frame->action(cmd::FilePrint)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    const QList<QKeySequence> undo = frame->action(cmd::EditUndo)->shortcuts();
    ASSERT_EQ(undo.size(), 2);
    EXPECT_EQ(undo[1], QKeySequence(Qt::ALT | Qt::Key_Backspace));
    EXPECT_EQ(frame->action(cmd::EditPaste)->shortcuts().value(1), QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    EXPECT_EQ(frame->action(cmd::Help)->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(frame->action(cmd::ContextHelp)->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F1));

    // The file menu ends with the recent-file entry and Exit; no file was opened yet.
    QMenu* file = top[0]->menu();
    const QList<QAction*> items = file->actions();
    EXPECT_EQ(items.back()->data().toInt(), cmd::AppExit);
    QAction* recent = frame->action(cmd::RecentFile);
    EXPECT_TRUE(recent->isVisible());
    EXPECT_FALSE(recent->isEnabled());
}

TEST_F(FrameTest, ToolbarHasTheButtonsInOrderWithSeparatorsAndIcons) {
    QToolBar* bar = frame->toolbar();
    std::vector<int> ids;
    for (QAction* a : bar->actions()) ids.push_back(a->isSeparator() ? 0 : a->data().toInt());
    const std::vector<int> expected{cmd::FileNew,        cmd::FileOpen,      cmd::FileSave,      0,
                                    cmd::WriteCalibration, cmd::SelectTable1, cmd::SelectTable2, 0,
                                    cmd::EditCut,        cmd::EditCopy,      cmd::EditPaste,     0,
                                    cmd::SystemSettings, cmd::ViewDashboard, 0,                  cmd::FilePrint,
                                    cmd::AppAbout,       cmd::ContextHelp};
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(bar->iconSize(), QSize(16, 16));
    for (QAction* a : bar->actions()) {
        if (a->isSeparator()) continue;
        EXPECT_FALSE(a->icon().isNull()) << a->data().toInt();
        EXPECT_FALSE(a->icon().pixmap(16, 16).isNull()) << a->data().toInt();
    }
}

TEST_F(FrameTest, StatusBarShowsIdleTextAndTheLockPanes) {
    EXPECT_EQ(frame->idleLabel()->text(), "For Help, press F1");
    for (const char* name : {"IndicatorCAP", "IndicatorNUM", "IndicatorSCRL"})
        EXPECT_NE(frame->statusBar()->findChild<QLabel*>(name), nullptr) << name;
    EXPECT_TRUE(frame->progressBar()->isHidden());
    // A long operation shows its progress and hides the bar at the end.
    app.statusHost().SetProgress(10, 100);
    EXPECT_FALSE(frame->progressBar()->isHidden());
    EXPECT_EQ(frame->progressBar()->value(), 100);
    app.statusHost().SetStatusText("Reading controller NVM....");
    EXPECT_EQ(frame->statusBar()->currentMessage(), "Reading controller NVM....");
    app.statusHost().SetProgress(100, 100);
    EXPECT_TRUE(frame->progressBar()->isHidden());

    // A message shown before the window appears still hides the idle text under it.
    const bool shown = frame->isVisible();
    app.statusHost().SetStatusText("");
    frame->hide();
    app.statusHost().SetStatusText("Korvath Demo Controller connected");
    frame->show();
    EXPECT_FALSE(frame->idleLabel()->isVisible());
    app.statusHost().SetStatusText("");
    EXPECT_TRUE(frame->idleLabel()->isVisible());
    frame->setVisible(shown);
}

// A short text under a long title: the box is wide enough that the title is not cut off.
TEST_F(FrameTest, AMessageBoxIsWideEnoughForItsTitle) {
    BoxAnswerer boxes;
    const QString title = QStringLiteral("Communication Setup Successful!");
    ShowMessageBox(frame, QStringLiteral("Found controller on COM9."), title, MessageStyle::IconInformation);
    ASSERT_EQ(boxes.seen.size(), 1u);
    QFont bold = frame->font();
    bold.setBold(true);
    EXPECT_GE(boxes.seen[0].width, QFontMetrics(bold).horizontalAdvance(title) + 80);
}

// A window larger than the screen (a dialog at a large scale) is fitted to its free area when shown.
TEST_F(FrameTest, EveryTopLevelWindowFitsTheScreen) {
    QDialog big;
    big.resize(5000, 4000);
    big.show();
    QCoreApplication::processEvents();
    const auto areas = ui::AvailableScreenAreas();
    ASSERT_FALSE(areas.empty());
    const QRect area(areas[0].x, areas[0].y, areas[0].width, areas[0].height);
    EXPECT_TRUE(area.contains(big.frameGeometry())) << big.frameGeometry().width() << "x" << big.frameGeometry().height();
    EXPECT_TRUE(area.contains(frame->frameGeometry()));
}

TEST_F(FrameTest, EditItemsStayDisabledAndControllerCommandsFollowTheLink) {
    frame->UpdateCommandUI();
    for (int id : {cmd::EditUndo, cmd::EditCut, cmd::EditCopy, cmd::EditPaste})
        EXPECT_FALSE(frame->action(id)->isEnabled()) << id;
    EXPECT_FALSE(frame->action(cmd::WriteCalibration)->isEnabled());
    EXPECT_FALSE(frame->action(cmd::ReadCalibration)->isEnabled());
    frame->OnCommand(cmd::WriteCalibration);
    EXPECT_EQ(env.controller.writes, 0);

    env.controller.connected = true;
    frame->UpdateCommandUI();
    EXPECT_TRUE(frame->action(cmd::WriteCalibration)->isEnabled());
    EXPECT_TRUE(frame->action(cmd::ReadCalibration)->isEnabled());
    // Chosen from a menu, the transfer starts once the menu has closed.
    frame->action(cmd::ReadCalibration)->trigger();
    EXPECT_EQ(env.controller.reads, 0);
    QApplication::processEvents();
    EXPECT_EQ(env.controller.reads, 1);

    EXPECT_TRUE(frame->action(cmd::SelectTable1)->isChecked());
    EXPECT_FALSE(frame->action(cmd::SelectTable2)->isChecked());
    frame->action(cmd::SelectTable2)->trigger();
    EXPECT_EQ(env.controller.SelectedTable(), 1);
    EXPECT_FALSE(frame->action(cmd::SelectTable1)->isChecked());
    EXPECT_TRUE(frame->action(cmd::SelectTable2)->isChecked());
    // Choosing the checked table again keeps it checked.
    frame->action(cmd::SelectTable2)->trigger();
    EXPECT_TRUE(frame->action(cmd::SelectTable2)->isChecked());
}

TEST(ControlIdPool, AllocatesThreeHundredIdsAndCutsTexts) {
    ControlIdPool pool;
    std::set<int> ids;
    for (int i = 0; i < 300; ++i) ids.insert(pool.AllocateControlId(0));
    EXPECT_EQ(ids.size(), 300u);
    EXPECT_EQ(*ids.begin(), 1040);
    EXPECT_EQ(*ids.rbegin(), 1339);
    // The 301st control gets 0, and 0 takes no texts.
    EXPECT_EQ(pool.AllocateControlId(0), 0);
    pool.SetControlToolTip(0, "tip");
    pool.SetControlStatusText(0, "status");
    pool.SetControlHelpText(0, "help");
    EXPECT_FALSE(pool.ToolTip(0));

    const std::string hundred(100, 'x');
    pool.SetControlStatusText(1100, hundred);
    pool.SetControlToolTip(1100, hundred + "y");
    EXPECT_EQ(pool.StatusText(1100)->size(), 79u);
    EXPECT_EQ(*pool.ToolTip(1100), std::string(79, 'x'));

    // The first help registration wins; releasing drops all texts.
    pool.SetControlHelpText(1100, "first");
    pool.SetControlHelpText(1100, "second");
    EXPECT_EQ(*pool.HelpText(1100), "first");
    pool.ReleaseControlId(1100);
    EXPECT_FALSE(pool.InUse(1100));
    EXPECT_FALSE(pool.HelpText(1100));
    pool.SetControlToolTip(1100, "while free");
    EXPECT_FALSE(pool.ToolTip(1100));

    // The freed entry is found again, from the index asked for.
    EXPECT_EQ(pool.AllocateControlId(0), 1100);
    EXPECT_FALSE(pool.StatusText(1100));
    pool.ReleaseControlId(1045);
    pool.ReleaseControlId(1200);
    EXPECT_EQ(pool.AllocateControlId(10), 1200);
    EXPECT_EQ(pool.UsedCount(), 299);
}

TEST_F(FrameTest, PooledControlsGetTheirTooltipsAndStatusPromptsFromThePool) {
    ControlIdPool& pool = frame->controlIds();
    EXPECT_EQ(pool.UsedCount(), 0);
    const int id = pool.AllocateControlId(0);
    ASSERT_EQ(id, 1040);
    pool.SetControlStatusText(id, std::string(100, 's'));
    pool.SetControlToolTip(id, "Show or hide the 1-2 upshift curve");
    EXPECT_EQ(frame->StatusPrompt(id), QString(79, 's'));
    EXPECT_EQ(frame->StatusPrompt(cmd::FileSave), "Save the active document");
    EXPECT_EQ(frame->StatusPrompt(id + 1), "");  // a free entry has no prompt

    auto* button = new QToolButton(frame->graphBar()->content());
    ui::SetControlId(button, id);
    button->show();
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(button, &enter);
    EXPECT_EQ(frame->statusBar()->currentMessage(), QString(79, 's'));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_EQ(frame->statusBar()->currentMessage(), "");

    QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(button, &tip);
    EXPECT_EQ(QToolTip::text(), "Show or hide the 1-2 upshift curve");
    QToolTip::hideText();
}

TEST_F(FrameTest, HelpRouting) {
    // A help request for the main window itself shows nothing; F1 opens the help's contents.
    {
        BoxAnswerer boxes;
        EXPECT_EQ(frame->WinHelp(CMainFrame::kMainWindowHelpId), CMainFrame::HelpResult::Ignored);
        EXPECT_EQ(env.shell.Count("help-topics"), 0);
        frame->action(cmd::Help)->trigger();
        QApplication::processEvents();
        EXPECT_TRUE(boxes.seen.empty());
        EXPECT_EQ(env.shell.Count("help-topics"), 1);
    }
    ControlIdPool& pool = frame->controlIds();
    const int id = pool.AllocateControlId(0);
    pool.SetControlHelpText(id, "Engine speed in revolutions per minute.");
    auto* display = new QLabel("1250", frame->dashboard()->content());
    ui::SetControlId(display, id);
    display->show();

    // Shift+F1, then a click on the display: its help text, captioned with the title.
    BoxAnswerer boxes;
    frame->action(cmd::ContextHelp)->trigger();
    EXPECT_TRUE(frame->InContextHelp());
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), display->mapToGlobal(QPointF(3, 3)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(display, &press);
    EXPECT_FALSE(frame->InContextHelp());
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].caption, "Korvath Tuning System");
    EXPECT_EQ(boxes.seen[0].text, "Engine speed in revolutions per minute.");

    // A pooled control without help text, and any other window, go to the program's help.
    const int bare = pool.AllocateControlId(0);
    EXPECT_EQ(frame->WinHelp(ControlIdPool::kHelpIdBase + bare), CMainFrame::HelpResult::PlatformHelp);
    EXPECT_EQ(boxes.seen.size(), 1u);

    // Shift+F1, then a click on a toolbar button or on the menu bar: the click does not run
    // the command, and Help Topics opens.
    for (QWidget* outside : {frame->toolbar()->widgetForAction(frame->action(cmd::FileNew)),
                             static_cast<QWidget*>(frame->menuBar())}) {
        const int topics = env.shell.Count("help-topics");
        frame->action(cmd::ContextHelp)->trigger();
        QMouseEvent click(QEvent::MouseButtonPress, QPointF(2, 2), outside->mapToGlobal(QPointF(2, 2)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(outside, &click);
        EXPECT_FALSE(frame->InContextHelp());
        EXPECT_EQ(env.shell.Count("help-topics"), topics + 1);
    }
    EXPECT_EQ(boxes.seen.size(), 1u);
}

TEST_F(FrameTest, GraphBarCannotBeClosedAndHidingTheDashboardAnyWayTearsItDown) {
    ui::CControlBar* graph = frame->graphBar();
    ui::CControlBar* dash = frame->dashboard();
    EXPECT_EQ(graph->windowTitle(), "Graph Controls");
    EXPECT_EQ(dash->windowTitle(), "Dashboard");
    EXPECT_EQ(frame->dockWidgetArea(graph), Qt::RightDockWidgetArea);
    EXPECT_EQ(frame->dockWidgetArea(dash), Qt::BottomDockWidgetArea);
    EXPECT_EQ(graph->allowedAreas(), Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    EXPECT_EQ(dash->allowedAreas(), Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);

    for (bool floating : {false, true}) {
        SCOPED_TRACE(floating ? "floating" : "docked");
        graph->setFloating(floating);
        EXPECT_FALSE(graph->features() & QDockWidget::DockWidgetClosable);
        EXPECT_FALSE(graph->close());
        EXPECT_TRUE(graph->isVisible());
    }
    graph->setFloating(false);

    // The close button, docked or floating, and the View menu: each hide tears it down and
    // unchecks the menu item; each show builds it again.
    auto expectHiddenAndTornDown = [&](const std::function<void()>& hide) {
        const int teardowns = env.shell.Count("teardown-dashboard");
        hide();
        EXPECT_FALSE(dash->isVisible());
        EXPECT_EQ(env.shell.Count("teardown-dashboard"), teardowns + 1);
        EXPECT_FALSE(frame->action(cmd::ViewDashboard)->isChecked());
        const int builds = env.shell.Count("build-dashboard");
        frame->action(cmd::ViewDashboard)->trigger();
        EXPECT_TRUE(dash->isVisible());
        EXPECT_EQ(env.shell.Count("build-dashboard"), builds + 1);
        EXPECT_EQ(env.shell.calls.back(), "build-dashboard");
        EXPECT_TRUE(frame->action(cmd::ViewDashboard)->isChecked());
    };
    EXPECT_TRUE(dash->features() & QDockWidget::DockWidgetClosable);
    expectHiddenAndTornDown([&] { EXPECT_TRUE(dash->close()); });
    dash->setFloating(true);
    expectHiddenAndTornDown([&] { EXPECT_TRUE(dash->close()); });
    dash->setFloating(false);
    expectHiddenAndTornDown([&] { frame->action(cmd::ViewDashboard)->trigger(); });
}

TEST_F(FrameTest, ToolbarAndStatusBarToggleWithTheirChecks) {
    frame->action(cmd::ViewToolbar)->trigger();
    EXPECT_TRUE(frame->toolbar()->isHidden());
    EXPECT_FALSE(frame->action(cmd::ViewToolbar)->isChecked());
    frame->action(cmd::ViewStatusBar)->trigger();
    EXPECT_TRUE(frame->statusBar()->isHidden());
    frame->action(cmd::ViewToolbar)->trigger();
    frame->action(cmd::ViewStatusBar)->trigger();
    EXPECT_FALSE(frame->toolbar()->isHidden());
    EXPECT_TRUE(frame->action(cmd::ViewStatusBar)->isChecked());
}

TEST_F(FrameTest, MinimumTrackingSizeComesFromTheViewAndRefusesNonsense) {
    EXPECT_EQ(frame->minTrackSize(), QSize(450, 420));  // the view has been sized
    EXPECT_EQ(frame->minimumSize(), QSize(450, 420));
    frame->SetMinTrackSize(100, 500);
    frame->SetMinTrackSize(500, 2000);
    EXPECT_EQ(frame->minTrackSize(), QSize(450, 420));
    frame->SetMinTrackSize(700, 600);
    EXPECT_EQ(frame->minimumSize(), QSize(700, 600));
    // The view sets its own minimum again at its next size change.
    frame->view()->resize(600, 500);
    EXPECT_EQ(frame->minTrackSize(), QSize(450, 420));
}

TEST_F(FrameTest, StandbySuspendsTheLinkAndIsAlwaysGranted) {
    EXPECT_EQ(frame->OnPowerBroadcast(0), 1);
    EXPECT_EQ(frame->OnPowerBroadcast(4), 1);
    EXPECT_EQ(frame->OnPowerBroadcast(7), 1);  // resume: nothing to do
    EXPECT_EQ(env.controller.suspends, 2);
    frame->OnPrepareForSleep(false);
    EXPECT_EQ(env.controller.suspends, 2);
    frame->OnPrepareForSleep(true);
    EXPECT_EQ(env.controller.suspends, 3);
}

TEST_F(FrameTest, SettingsSheetBlocksWizardAndNewAndUsbNoticePrecedesThePortDialog) {
    QWidget sheet;
    frame->SetSystemSettings(&sheet);
    frame->action(cmd::SetupWizard)->trigger();
    EXPECT_EQ(env.shell.Count("wizard"), 0);

    CQRNDoc& doc = *app.document();
    doc.calibration().points[0][0] = 1234;
    {
        BoxAnswerer boxes;
        frame->action(cmd::FileNew)->trigger();
        ASSERT_EQ(boxes.seen.size(), 1u);
        EXPECT_EQ(boxes.seen[0].caption, "Error");
        EXPECT_EQ(boxes.seen[0].text,
                  "Please close the \"System Settings\" window before selecting the \"New File\" option.");
    }
    EXPECT_EQ(doc.calibration().points[0][0], 1234);  // untouched
    frame->SetSystemSettings(nullptr);

    env.controller.usb = true;
    BoxAnswerer boxes;
    frame->action(cmd::CommunicationSetup)->trigger();
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].caption, "USB Direct Connection Detected:");
    EXPECT_EQ(env.shell.calls.back(), "com");
}

}  // namespace
}  // namespace korvath::testing
