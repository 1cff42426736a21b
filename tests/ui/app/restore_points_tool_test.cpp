// Tools > Restore Points...: the list newest first, Open, Compare and Write Back through the
// Write command; and the remembered Read Flash Table Before Writing.

#include <gtest/gtest.h>

#include <QDialog>
#include <QPushButton>
#include <QTreeWidget>

#include "app_fixture.h"
#include "calibration/restore_points.h"
#include "platform/settings_keys.h"
#include "support/scoped_env.h"
#include "ui/tools/compare_tool.h"
#include "ui/tools/restore_points_tool.h"
#include "ui/tools/tools_menu.h"

namespace korvath::testing {
namespace {

class RestorePointsToolTest : public ::testing::Test {
protected:
    RestorePointsToolTest() : data("XDG_DATA_HOME", env.home.File("data").c_str()), app(env.options) {
        EXPECT_TRUE(app.InitInstance({}));
        demo = QString::fromStdString(env.home.File("demo.qvr"));
        EXPECT_TRUE(WriteDemoCalibration(demo.toStdString()));
        EXPECT_TRUE(app.OpenDocumentFile(demo));
    }
    ui::RestorePointsTool& tool() { return *app.mainFrame()->tools()->restorePoints(); }
    CQRNDoc& doc() { return *app.document(); }
    // A point of the open calibration's image with its first byte changed.
    RestorePointInfo Keep(RestoreReason reason, int table, std::uint8_t first) {
        std::vector<std::uint8_t> image(static_cast<std::size_t>(doc().layout().TotalBlockSize));
        doc().ExchangeImage(image.data(), image.size(), 1);
        image[0] = first;
        RestorePointInfo kept;
        std::string why;
        EXPECT_TRUE(tool().store().Keep(doc(), {reason, table, image, image.size()}, kept, why)) << why;
        return kept;
    }
    QPushButton* Button(const QString& name) {
        for (auto* b : tool().dialog()->findChildren<QPushButton*>())
            if (b->accessibleName() == name) return b;
        return nullptr;
    }
    ShellHome env;
    ScopedEnv data;
    TestShellApp app;
    QString demo;
};

TEST_F(RestorePointsToolTest, TheListShowsTheNewestFirstAndWritesBackThroughTheWriteCommand) {
    Keep(RestoreReason::Read, 0, 1);
    const RestorePointInfo before = Keep(RestoreReason::BeforeWrite, 1, 2);
    Keep(RestoreReason::Written, 1, 3);
    tool().ShowList();
    QTreeWidget* list = tool().list();
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->accessibleName(), QStringLiteral("Restore points"));
    QStringList reasons, header;
    for (int i = 0; i < 3; ++i) reasons << list->topLevelItem(i)->text(3);
    EXPECT_EQ(reasons, (QStringList{"written", "before write", "read"}));
    for (int c = 0; c < list->columnCount(); ++c) header << list->headerItem()->text(c);
    EXPECT_EQ(header, (QStringList{"Time", "Controller", "Table", "Reason", "Definition", "Transmission"}));
    const QTreeWidgetItem* row = list->topLevelItem(1);
    EXPECT_EQ(row->text(1), QStringLiteral("product 2, hardware 2, firmware 3.3"));
    EXPECT_EQ(row->text(2), QStringLiteral("2"));
    EXPECT_EQ(row->text(4), QStringLiteral("KV4.def"));
    tool().dialog()->grab().save(QStringLiteral(KORVATH_BIN_DIR "/restore-points.png"));  // for a look

    // Without a controller nothing is written; with one, after the confirmation naming the
    // table and the controller, the point is opened and the Write command runs on its table.
    list->setCurrentItem(list->topLevelItem(1));
    {
        BoxAnswerer boxes;
        Button(QStringLiteral("Write Back..."))->click();
        ASSERT_EQ(boxes.seen.size(), 1u);
        EXPECT_TRUE(boxes.seen[0].text.startsWith(QStringLiteral("No controller is connected.")));
    }
    EXPECT_EQ(env.controller.writes, 0);
    env.controller.connected = true;
    {
        BoxAnswerer boxes({QMessageBox::Yes});
        Button(QStringLiteral("Write Back..."))->click();
        ASSERT_GE(boxes.seen.size(), 1u);
        EXPECT_TRUE(boxes.seen[0].text.contains(QStringLiteral("into table #2 of the controller (product 2, "
                                                               "hardware 2, firmware 3.3)")))
            << boxes.seen[0].text.toStdString();
    }
    EXPECT_EQ(env.controller.writes, 1);
    EXPECT_EQ(app.pathName(), QString::fromStdString(before.path));
    EXPECT_EQ(doc().SelectedTable(), 1);

    // Compare draws the point behind the open calibration.
    list->setCurrentItem(list->topLevelItem(2));
    Button(QStringLiteral("Compare with Open Calibration"))->click();
    EXPECT_TRUE(app.mainFrame()->tools()->compare().comparing());
}

TEST_F(RestorePointsToolTest, ReadFlashTableBeforeWritingIsRemembered) {
    EXPECT_FALSE(tool().readFlashFirstAction()->isChecked());
    EXPECT_FALSE(doc().ReadFlashTableBeforeWriting());
    tool().readFlashFirstAction()->trigger();
    EXPECT_TRUE(doc().ReadFlashTableBeforeWriting());
    EXPECT_EQ(app.settings()->GetInt(settings::kRestorePoints, settings::kReadFlashTableBeforeWriting, 0), 1);
}

}  // namespace
}  // namespace korvath::testing
