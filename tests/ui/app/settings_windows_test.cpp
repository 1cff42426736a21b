// The settings windows in the running program: one System Settings window at a time, File New
// refused while it is open, a transmission chosen there re-targets the calibration and the tuning
// bar, and the File New after start-up runs the Initial Setup wizard.

#include <gtest/gtest.h>

#include <QLabel>

#include "app_fixture.h"
#include "ui/app/command_table.h"
#include "ui/app/control_bar.h"
#include "ui/dynui/dynamiccombobox.h"
#include "ui/settings/dynamicpropertysheet.h"
#include "ui/settings/settingspage.h"

namespace korvath::testing {
namespace {

using ui::CDynamicPropertySheet;
namespace cmd = ui::cmd;

bool BarShows(ui::CMainFrame* frame, const QString& caption) {
    for (QWidget* w : frame->graphBar()->findChildren<QWidget*>())
        if (auto* label = qobject_cast<QLabel*>(w); label && label->text() == caption) return true;
    return false;
}

TEST(SettingsWindows, OneSystemSettingsAtATimeAndTheWizardAfterNew) {
    ShellHome env;
    env.home.Write("korvath.INI", "[Communication Settings]\nCOMPortNumber=1\n[AboutBox]\nShowAtStartup=0\n"
                                  "[StartBox]\nShowAtStartup=0\n");
    env.options.shell = nullptr;  // the program's own windows
    TestShellApp app(env.options);
    ASSERT_TRUE(app.InitInstance({}));
    ui::CMainFrame* frame = app.mainFrame();
    CQRNDoc& doc = *app.document();

    frame->action(cmd::SystemSettings)->trigger();
    auto* sheet = qobject_cast<CDynamicPropertySheet*>(frame->systemSettings());
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->windowTitle(), "System Settings");
    // A new calibration has no definition of its own: the transmission page and two blank tabs.
    ASSERT_EQ(sheet->pageCount(), 3);
    frame->action(cmd::SystemSettings)->trigger();
    frame->action(cmd::SetupWizard)->trigger();
    EXPECT_EQ(frame->systemSettings(), sheet);
    EXPECT_EQ(frame->findChildren<CDynamicPropertySheet*>().size(), 1u);

    ui::CSettingsPage* first = sheet->page(0);
    first->selector()->setCurrentIndex(first->selector()->findText("KV5 Five-Speed"));
    first->OnComboChange(first->selectorIndex);
    EXPECT_EQ(doc.calibration().application.DefinitionFileName, "KV5.def");
    EXPECT_EQ(sheet->pageCount(), 4);
    EXPECT_EQ(sheet->page(0), first);
    EXPECT_TRUE(BarShows(frame, "Five-speed shifts (mph)"));

    {
        BoxAnswerer boxes;
        frame->action(cmd::FileNew)->trigger();
        ASSERT_EQ(boxes.seen.size(), 1u);
        EXPECT_EQ(boxes.seen[0].caption, "Error");
    }
    EXPECT_EQ(doc.calibration().application.DefinitionFileName, "KV5.def");

    // Loading a calibration of a real transmission visits every page of the open sheet.
    frame->RefreshSettingsSheet(1);
    for (int i = 0; i < sheet->pageCount(); ++i) EXPECT_TRUE(sheet->page(i)->IsBuilt()) << i;
    EXPECT_EQ(sheet->activeIndex(), 0);

    sheet->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frame->systemSettings(), nullptr);

    // The next File New ends in the wizard; Cancel leaves it.
    doc.SetModifiedFlag(false);
    QString caption;
    int pages = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* wizard = qobject_cast<CDynamicPropertySheet*>(QApplication::activeModalWidget());
        if (!wizard || !wizard->isVisible() || !caption.isEmpty()) return;
        caption = wizard->windowTitle();
        pages = wizard->pageCount();
        QTimer::singleShot(0, wizard->cancelButton(), &QPushButton::click);
    });
    poll.start(5);
    frame->action(cmd::FileNew)->trigger();
    EXPECT_EQ(caption, "Initial Setup");
    EXPECT_EQ(pages, 1);  // the new calibration's transmission page
}

}  // namespace
}  // namespace korvath::testing
