#include "ui/app/program_shell.h"

#include "document/qrndoc.h"
#include "platform/paths.h"
#include "platform/program_relative_path.h"
#include "platform/settings_store.h"
#include "ui/app/qrn.h"
#include "ui/dialogs/comselectdlg.h"
#include "ui/dialogs/shortcut.h"
#include "ui/dialogs/startup_box.h"
#include "ui/help/help_texts.h"
#include "ui/help/helpdialog.h"

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

std::string ProgramShellWindows::ProgramDirectoryPath() const {
    const CQRNDoc* doc = app_.document();
    return doc ? doc->programDirectory() : ProgramDirectory();
}

void ProgramShellWindows::CreateHelpViewer(QWidget* frame) {
    if (helpViewer_) return;
    helpViewer_ = new CHelpDialog(frame);
    helpViewer_->hide();
}

void ProgramShellWindows::ShowHelpTopics(QWidget* parent) { ShowTopicInViewer(help_texts::kContentsTopic, parent); }

void ProgramShellWindows::ShowHelpTopic(const char* topic) { ShowTopicInViewer(topic ? topic : "", nullptr); }

void ProgramShellWindows::ShowTopicInViewer(std::string_view topic, QWidget* parent) {
    if (!helpViewer_) CreateHelpViewer(parent);
    const std::string directory = ProgramDirectoryPath();
    // The help buttons hand over "<program directory>\<path>"; only the part after the
    // directory is the definition file's, and it must stay inside the directory.
    std::string_view relative = topic;
    if (relative.size() > directory.size() && relative.substr(0, directory.size()) == directory &&
        (relative[directory.size()] == '\\' || relative[directory.size()] == '/'))
        relative.remove_prefix(directory.size() + 1);
    const auto path = ResolveProgramRelativePath(directory, relative);
    helpViewer_->showNormal();
    helpViewer_->raise();
    helpViewer_->activateWindow();
    // A path leading outside is not looked for at all: to the user it is a missing topic.
    if (path) helpViewer_->ShowTopic(QString::fromStdString(*path));
    else helpViewer_->ShowNotFound(QString::fromUtf8(topic.data(), static_cast<qsizetype>(topic.size())));
}

}  // namespace korvath::ui
