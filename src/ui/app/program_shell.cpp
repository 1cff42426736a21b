#include "ui/app/program_shell.h"

#include "document/qrndoc.h"
#include "platform/paths.h"
#include "platform/settings_store.h"
#include "ui/app/qrn.h"
#include "ui/dialogs/comselectdlg.h"
#include "ui/dialogs/shortcut.h"
#include "ui/dialogs/startup_box.h"

namespace korvath::ui {

void ProgramShellWindows::ShowAboutBox(QWidget* parent) {
    if (!app_.settings()) return;
    const char revision = app_.document() ? app_.document()->packageRevision() : 0;
    ui::ShowAboutBox(*app_.settings(), revision, parent);
}

void ProgramShellWindows::ShowStartBox(QWidget* parent) {
    if (app_.settings()) ui::ShowStartBox(*app_.settings(), parent);
}

void ProgramShellWindows::RunComPortDialog(QWidget* parent) {
    if (!app_.settings()) return;
    CTCS_Monitor* link = app_.document() ? app_.document()->monitor() : nullptr;
    RunComSelectDialog(link, *app_.settings(), app_.settingsPath(), parent);
}

void ProgramShellWindows::CreateDesktopShortcut() {
    const CQRNDoc* doc = app_.document();
    if (!doc) return;
    // Failures are silent: the launcher is a convenience.
    CreateProgramShortcut(ExecutablePath(), doc->programDirectory());
}

}  // namespace korvath::ui
