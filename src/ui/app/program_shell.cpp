#include "ui/app/program_shell.h"

#include <QApplication>

#include <QScrollArea>
#include <QVBoxLayout>

#include "document/qrndoc.h"
#include "platform/paths.h"
#include "platform/program_relative_path.h"
#include "platform/settings_store.h"
#include "ui/app/command_table.h"
#include "ui/app/mainfrm.h"
#include "ui/app/qrn.h"
#include "ui/dashboard/dashboard.h"
#include "ui/dialogs/comselectdlg.h"
#include "ui/dialogs/shortcut.h"
#include "ui/dialogs/startup_box.h"
#include "ui/help/help_texts.h"
#include "ui/help/helpdialog.h"
#include "ui/settings/dynamicpropertysheet.h"
#include "ui/graph/dynamicdialogbar.h"
#include "ui/graph/qrnview.h"

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

namespace {
// The main frame chooses the page template from the system font; the smaller one without a frame.
constexpr int kSmallPageTemplate = 136;
int SheetTemplate(QWidget* frame) {
    auto* mainFrame = qobject_cast<CMainFrame*>(frame);
    return mainFrame ? mainFrame->PropertySheetTemplate() : kSmallPageTemplate;
}
}  // namespace

QWidget* ProgramShellWindows::CreateSystemSettings(QWidget* frame, CQRNDoc& doc) {
    auto* sheet = new CDynamicPropertySheet(QString::fromLatin1(settings_sheet::kSystemSettingsCaption),
                                            SheetTemplate(frame), SheetMode::SystemSettings, frame);
    if (!sheet->BuildPages(&doc)) {
        delete sheet;
        return nullptr;
    }
    // Modeless, owned by the main window, gone when closed.
    sheet->setWindowFlag(Qt::Window, true);
    sheet->setModal(false);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->SetTabTexts();
    // The first two pages are built at once; the sheet opens on the first.
    if (sheet->pageCount() > 1) {
        sheet->SetActivePage(1);
        sheet->SetActivePage(0);
    }
    return sheet;
}

void ProgramShellWindows::RunSetupWizard(QWidget* frame, CQRNDoc& doc) {
    CDynamicPropertySheet wizard(QString::fromLatin1(settings_sheet::kSetupWizardCaption), SheetTemplate(frame),
                                 SheetMode::SetupWizard, frame);
    if (wizard.BuildPages(&doc)) wizard.exec();
}

void ProgramShellWindows::RefreshSheetPages(void* sheet) {
    if (CDynamicPropertySheet* live = CDynamicPropertySheet::FromHandle(sheet)) live->RebuildPages();
}

void ProgramShellWindows::RefreshSettingsSheet(QWidget* sheet, int cyclePages) {
    CQRNDoc* doc = app_.document();
    if (!doc) return;
    auto* open = qobject_cast<CDynamicPropertySheet*>(sheet);
    const SettingsSheetRefresh plan =
        PlanSettingsSheetRefresh(open != nullptr, cyclePages, doc->calibration().application.TransmissionType);
    if (plan.rebuild) open->RebuildPages();
    if (plan.open) {
        CMainFrame* frame = app_.mainFrame();
        if (!frame) return;
        frame->OnCommand(cmd::SystemSettings);
        open = qobject_cast<CDynamicPropertySheet*>(frame->systemSettings());
    }
    if (plan.visit && open) open->VisitPages();
}

void ProgramShellWindows::CreateHelpViewer(QWidget* frame) {
    if (helpViewer_) return;
    helpViewer_ = new CHelpDialog(frame);
    helpViewer_->hide();
}

void ProgramShellWindows::ShowHelpTopics(QWidget* parent) {
    if (!helpBrowser_) helpBrowser_ = new HelpBrowser(ProgramDirectoryPath(), parent);
    helpBrowser_->OpenTopic(help_texts::kContentsTopic);
    helpBrowser_->showNormal();
    helpBrowser_->raise();
    helpBrowser_->activateWindow();
}

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
    // While a modal window runs (the Initial Setup wizard and its help buttons) a plain viewer
    // could be neither scrolled nor closed: it then opens as the topmost modal window itself.
    // Modality takes effect only from a hidden window.
    QWidget* modal = QApplication::activeModalWidget();
    const Qt::WindowModality modality = modal && modal != helpViewer_ ? Qt::ApplicationModal : Qt::NonModal;
    if (modal != helpViewer_ && helpViewer_->windowModality() != modality) {
        helpViewer_->hide();
        helpViewer_->setWindowModality(modality);
    }
    helpViewer_->showNormal();
    helpViewer_->raise();
    helpViewer_->activateWindow();
    // A path leading outside is not looked for at all: to the user it is a missing topic.
    if (path) helpViewer_->ShowTopic(QString::fromStdString(*path));
    else helpViewer_->ShowNotFound(QString::fromUtf8(topic.data(), static_cast<qsizetype>(topic.size())));
}

namespace {

// The bar's surface fills the bar's content area.
void Fill(QWidget* bar, QWidget* surface) {
    auto* layout = new QVBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(surface);
}

CDynamicDialogBar* TuningBarIn(QWidget* bar) {
    if (auto* existing = bar->findChild<CDynamicDialogBar*>()) return existing;
    // Rows beyond the bar's height are reached by scrolling.
    auto* scroll = new QScrollArea(bar);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* surface = new CDynamicDialogBar;
    scroll->setWidget(surface);
    Fill(bar, scroll);
    return surface;
}

CDashboard* DashboardIn(QWidget* bar) {
    if (auto* existing = bar->findChild<CDashboard*>()) return existing;
    auto* surface = new CDashboard(bar);
    Fill(bar, surface);
    return surface;
}

}  // namespace

void ProgramShellWindows::RebuildTuningBar(QWidget* bar, CQRNDoc& doc) {
    if (!bar) return;
    CDynamicDialogBar* surface = TuningBarIn(bar);
    surface->SetViewRepaint([this] {
        if (CMainFrame* frame = app_.mainFrame()) frame->RedrawView();
    });
    surface->BuildBar(&doc);
}

void ProgramShellWindows::BuildDashboard(QWidget* bar, CQRNDoc& doc) {
    if (!bar) return;
    CDashboard* dashboard = DashboardIn(bar);
    dashboard->document = &doc;
    dashboard->SetTuningView(app_.mainFrame() ? app_.mainFrame()->view() : nullptr);
    dashboard->BuildDashboard();
}

void ProgramShellWindows::TeardownDashboard(QWidget* bar) {
    if (!bar) return;
    if (auto* dashboard = bar->findChild<CDashboard*>()) dashboard->TeardownDashboard();
}

}  // namespace korvath::ui
