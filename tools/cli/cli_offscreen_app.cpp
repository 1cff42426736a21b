#include "cli_offscreen_app.h"

namespace korvath::cli {
namespace {

QtMessageHandler gPassOn = nullptr;

void DropRuntimeDirNotice(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    // Qt then uses a folder of its own under /tmp; the run is not affected.
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
    if (gPassOn) gPassOn(type, context, message);
}

}  // namespace

std::unique_ptr<QGuiApplication> StartOffscreenApplication() {
    if (QGuiApplication::instance()) return nullptr;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static bool installed = false;
    if (!installed) {
        gPassOn = qInstallMessageHandler(DropRuntimeDirNotice);
        installed = true;
    }
    static int argc = 1;
    static char name[] = "korvath-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace korvath::cli
