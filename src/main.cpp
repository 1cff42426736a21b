// korvath: the tuning program.

#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/paths.h"

#include "ui/app/app_texts.h"
#include "ui/app/demo_capture.h"
#include "ui/app/mainfrm.h"
#include "ui/app/program_info.h"
#include "ui/app/qrn.h"
#include "ui/app/startup_probe.h"

int main(int argc, char* argv[]) {
    // --help and --version are answered before a display is needed.
    const std::vector<std::string_view> given(argv + 1, argv + argc);
    const auto request = korvath::ui::ProgramInfoRequestOf(given);
    if (request != korvath::ui::ProgramInfoRequest::None) {
        const std::string name = "korvath";
        const std::string text = request == korvath::ui::ProgramInfoRequest::Help
                                     ? korvath::ui::UsageText(name)
                                     : korvath::ui::VersionText(name, korvath::ReadPackageRevision(korvath::ProgramDirectory()));
        std::fputs(text.c_str(), stdout);
        return 0;
    }
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
