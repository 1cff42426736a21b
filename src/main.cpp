// korvath: the tuning program.

#include <QApplication>
#include <QStringList>

#include "ui/app/app_texts.h"
#include "ui/app/demo_capture.h"
#include "ui/app/mainfrm.h"
#include "ui/app/qrn.h"
#include "ui/app/startup_probe.h"

int main(int argc, char* argv[]) {
    korvath::ui::StartupProbe probe;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(korvath::ui::texts::kAppTitle));
    QApplication::setOrganizationName(QStringLiteral("Korvath"));

    korvath::ui::CQRNApp app;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!app.InitInstance(arguments)) return app.exitCode();
    probe.Watch(app.mainFrame());
    // KORVATH_SCREENSHOT: a picture of the main window once the controller answers, then the end.
    korvath::ui::DemoCapture capture(app);
    capture.Start();
    return QApplication::exec();
}
