// A change made on a settings page with the keyboard is one step of the undo history; undoing it
// puts the transmission, its definition and the tuning bar back, and Ctrl+Z works on the page.

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QUndoStack>

#include "app_fixture.h"
#include "ui/app/command_table.h"
#include "ui/dynui/dynamiccombobox.h"
#include "ui/settings/dynamicpropertysheet.h"
#include "ui/settings/settingspage.h"
#include "ui/tools/edit_history.h"
#include "ui/tools/tools_menu.h"

namespace korvath::testing {
namespace {

void SendKey(QWidget* to, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(to, &release);
    // The page's handler and the history's check run from the event loop.
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

TEST(SettingsUndo, AChoiceOnAPageIsOneStepAndUndoPutsItBack) {
    ShellHome env;
    env.home.Write("korvath.INI", "[Communication Settings]\nCOMPortNumber=1\n[AboutBox]\nShowAtStartup=0\n"
                                  "[StartBox]\nShowAtStartup=0\n");
    env.options.shell = nullptr;  // the program's own windows
    TestShellApp app(env.options);
    ASSERT_TRUE(app.InitInstance({}));
    const QString demo = QString::fromStdString(env.home.File("demo.qvr"));
    ASSERT_TRUE(WriteDemoCalibration(demo.toStdString()));
    ASSERT_TRUE(app.OpenDocumentFile(demo));
    ui::CMainFrame* frame = app.mainFrame();
    CQRNDoc& doc = *app.document();
    ui::EditHistory& history = frame->tools()->history();
    ASSERT_EQ(doc.calibration().application.DefinitionFileName, "KV4.def");

    frame->action(ui::cmd::SystemSettings)->trigger();
    auto* sheet = qobject_cast<ui::CDynamicPropertySheet*>(frame->systemSettings());
    ASSERT_NE(sheet, nullptr);
    ui::CDynamicComboBox* selector = sheet->page(0)->selector();
    const int kv4 = selector->findText("KV4 Four-Speed");
    const int kv5 = selector->findText("KV5 Five-Speed");
    ASSERT_GE(kv4, 0);
    ASSERT_EQ(kv5, kv4 + 1);  // the key below chooses the next one
    ASSERT_EQ(selector->currentIndex(), kv4);

    SendKey(selector, Qt::Key_Down);
    EXPECT_EQ(doc.calibration().application.DefinitionFileName, "KV5.def");
    ASSERT_EQ(history.stack().count(), 1);
    EXPECT_TRUE(history.stack().text(0).contains(QStringLiteral("KV5 Five-Speed")))
        << history.stack().text(0).toStdString();
    EXPECT_TRUE(doc.IsModified());

    // Ctrl+Z while the page has the focus, the Ctrl key pressed first as a keyboard does: the
    // undo is no change of the page's own.
    selector = sheet->page(0)->selector();
    QKeyEvent control(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
    QApplication::sendEvent(selector, &control);
    SendKey(selector, Qt::Key_Z, Qt::ControlModifier);
    QKeyEvent controlUp(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
    QApplication::sendEvent(selector, &controlUp);
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    EXPECT_EQ(history.stack().count(), 1);
    EXPECT_EQ(doc.calibration().application.DefinitionFileName, "KV4.def");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(history.stack().index(), 0);
    history.Redo();
    EXPECT_EQ(doc.calibration().application.DefinitionFileName, "KV5.def");
    sheet->close();
}

}  // namespace
}  // namespace korvath::testing
