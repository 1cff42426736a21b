// The three dialogs as laid out from their templates: every control inside the box and no two
// controls on top of each other. With KORVATH_DIALOG_SHOTS set to a folder, each dialog is also
// saved there as a PNG to look at.

#include <QComboBox>
#include <QLabel>
#include <QPixmap>

#include <gtest/gtest.h>

#include "core/comm/pty_pair.h"
#include "dialogs_fixture.h"
#include "support/recording_host.h"
#include "ui/dialogs/aboutdlg.h"
#include "ui/dialogs/comselectdlg.h"
#include "ui/dialogs/startdlg.h"

namespace korvath::ui {
namespace {

void CheckLayout(QDialog& dialog, const char* shotName) {
    const QList<QWidget*> controls = dialog.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    std::vector<QWidget*> shown;
    for (QWidget* w : controls) {
        if (w->isWindow() || w->geometry().isEmpty()) continue;
        shown.push_back(w);
    }
    ASSERT_GE(shown.size(), 5u);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_TRUE(dialog.rect().contains(shown[i]->geometry())) << shown[i]->metaObject()->className();
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                << shown[i]->metaObject()->className() << " and " << shown[j]->metaObject()->className();
        }
    }
    if (const char* dir = std::getenv("KORVATH_DIALOG_SHOTS")) {
        dialog.show();
        const QPixmap picture = dialog.grab();
        picture.save(QString::fromUtf8(dir) + QLatin1Char('/') + QLatin1String(shotName) + QStringLiteral(".png"));
        dialog.hide();
    }
}

TEST(DialogLayout, ControlsSitInsideTheirBoxesWithoutOverlapping) {
    testing::TestApp();
    testing::MemorySettings settings;
    testing::RecordingHost messages;
    CAboutDlg about(settings, 0);  // as the program shows it: the help pictures are taken here
    CheckLayout(about, "about");
    CStartDlg start(settings);
    CheckLayout(start, "startbox");

    testing::TempDir dir;
    test::PtyPair a, b;
    PortListOptions ports;
    ports.portsDirectory = dir.path() + "/ports";
    ports.systemPorts = false;
    testing::LinkPort(ports.portsDirectory, 3, a.slave());
    testing::LinkPort(ports.portsDirectory, 33, b.slave());
    CComSelectDlg com(nullptr, settings, ports, nullptr, &messages);
    com.OnInitDialog();
    EXPECT_EQ(com.portList()->count(), 3);
    CheckLayout(com, "comselect");
}

}  // namespace
}  // namespace korvath::ui
