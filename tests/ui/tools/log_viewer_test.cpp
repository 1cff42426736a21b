// The data log viewer: its title, channels and shifts, a shift chosen moving the cursor (and
// saying so), the cursor's values, channels hidden and shown, and a file that is no log.

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>

#include "core/datalog/log_text.h"
#include "support/qt_test_app.h"
#include "support/recording_host.h"
#include "ui/tools/log_viewer_window.h"

namespace korvath::testing {
namespace {

class LogViewerTest : public ::testing::Test {
protected:
    void SetUp() override { TestApp(); }
    TempDir dir;
};

TEST_F(LogViewerTest, ShowsTheChannelsAndShiftsAndMovesTheCursorToAChosenShift) {
    const std::string path = dir.Write(
        "drive.csv", LogText({"Speed", "Gear"}, {{"0", "0.0", "First", "0", "0", ""},
                                                 {"500", "12.5", "First", "3", "12.5", ""},
                                                 {"1000", "", "", "", "", "link lost"},
                                                 {"1500", "20.0", "Second", "4", "20", ""}}));
    ui::LogViewerWindow viewer;
    viewer.setAttribute(Qt::WA_DeleteOnClose, false);
    QString why;
    ASSERT_TRUE(viewer.Open(QString::fromStdString(path), why)) << why.toStdString();
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Data Log Viewer - drive.csv"));
    ASSERT_EQ(viewer.channelList()->topLevelItemCount(), 2);
    EXPECT_EQ(viewer.channelList()->topLevelItem(1)->text(0), QStringLiteral("Gear"));
    EXPECT_EQ(viewer.plot()->axisRectCount(), 2);
    ASSERT_EQ(viewer.shiftList()->count(), 1);
    EXPECT_EQ(viewer.shiftList()->item(0)->text(), QStringLiteral("1.500 s  First \u2192 Second"));

    std::vector<qint64> moved;
    QObject::connect(&viewer, &ui::LogViewerWindow::cursorMoved, [&moved](qint64 ms) { moved.push_back(ms); });
    viewer.shiftList()->setCurrentRow(0);
    EXPECT_EQ(moved, std::vector<qint64>{1500});
    EXPECT_EQ(viewer.cursorLabel()->text(), QStringLiteral("Cursor: 1.500 s"));
    EXPECT_EQ(viewer.channelList()->topLevelItem(1)->text(1), QStringLiteral("Second"));

    // The replay moving the cursor is not said back to it.
    viewer.SetCursorTime(1200);
    EXPECT_EQ(moved.size(), 1u);
    EXPECT_EQ(viewer.channelList()->topLevelItem(0)->text(1), QStringLiteral("link lost"));

    viewer.channelList()->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(viewer.plot()->axisRectCount(), 1);
    EXPECT_EQ(viewer.plot()->axisRect(0)->axis(QCPAxis::atLeft)->label(), QStringLiteral("Gear"));
    viewer.ShowChannel(0, true);
    EXPECT_EQ(viewer.plot()->axisRectCount(), 2);
}

TEST_F(LogViewerTest, ALogWithoutAGearShowsWhyItHasNoShiftsAndANonLogIsRefused) {
    ui::LogViewerWindow viewer;
    viewer.setAttribute(Qt::WA_DeleteOnClose, false);
    QString why;
    ASSERT_TRUE(viewer.Open(QString::fromStdString(dir.Write("a.csv", LogText({"Speed"}, {{"0", "1", "", "", ""}}))),
                            why));
    ASSERT_EQ(viewer.shiftList()->count(), 1);
    EXPECT_TRUE(viewer.shiftList()->item(0)->text().startsWith(QStringLiteral("No shifts: it has no gear channel")));
    EXPECT_FALSE(viewer.Open(QString::fromStdString(dir.Write("b.csv", "x,y\r\n")), why));
    EXPECT_FALSE(why.isEmpty());
}

}  // namespace
}  // namespace korvath::testing
