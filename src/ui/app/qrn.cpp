#include "ui/app/qrn.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrinter>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <cstdio>
#include <utility>

#include "comm/serialport.h"
#include "calibration/calibration_file.h"
#include "document/qrndoc.h"
#include "platform/settings_keys.h"
#include "platform/message_style.h"
#include "platform/paths.h"
#include "platform/settings_store.h"
#include "ui/app/app_texts.h"
#include "ui/app/command_table.h"
#include "ui/app/controller_commands.h"
#include "ui/app/mainfrm.h"
#include "ui/app/program_shell.h"
#include "ui/app/screen_fit.h"
#include "ui/app/shell_windows.h"
#include "ui/app/single_instance.h"
#include "ui/commands/document_commands.h"
#include "ui/dynui/control_environment.h"
#include "ui/graph/qrnview.h"

namespace korvath::ui {
namespace {

QString Text(const char* text) { return QString::fromUtf8(text); }

bool IsOption(const QString& arg, const char* slashForm, const char* dashForm) {
    return arg.compare(QLatin1String(slashForm), Qt::CaseInsensitive) == 0 ||
           arg.compare(QLatin1String("-") + QLatin1String(slashForm + 1), Qt::CaseInsensitive) == 0 ||
           arg == QLatin1String(dashForm);
}

}  // namespace

ShellCommand ParseCommandLine(const QStringList& arguments) {
    ShellCommand command;
    if (arguments.isEmpty()) return command;
    const QString& first = arguments[0];
    if (IsOption(first, "/p", "--print")) {
        if (arguments.size() != 2) return {ShellCommand::Kind::Invalid, {}, {}};
        return {ShellCommand::Kind::FilePrint, arguments[1], {}};
    }
    if (IsOption(first, "/pt", "--print-to")) {
        if (arguments.size() < 3) return {ShellCommand::Kind::Invalid, {}, {}};
        // "/pt FILE PRINTER [driver port]" as the shell sends it; "--print-to PRINTER FILE".
        if (first == QLatin1String("--print-to")) return {ShellCommand::Kind::FilePrintTo, arguments[2], arguments[1]};
        return {ShellCommand::Kind::FilePrintTo, arguments[1], arguments[2]};
    }
    if (arguments.size() == 1 && !first.startsWith(QLatin1Char('-'))) return {ShellCommand::Kind::FileOpen, first, {}};
    return {ShellCommand::Kind::Invalid, {}, {}};
}

CQRNApp::CQRNApp(AppOptions options) : options_(std::move(options)) {
    qApp->installEventFilter(new ScreenFitFilter(this));
    if (options_.controller) {
        controller_ = options_.controller;
    } else {
        ownController_ = std::make_unique<DocumentCommands>(*this);
        controller_ = ownController_.get();
    }
    if (options_.shell) {
        shell_ = options_.shell;
    } else {
        ownShell_ = std::make_unique<ProgramShellWindows>(*this);
        shell_ = ownShell_.get();
    }
}

CQRNApp::~CQRNApp() {
    // The run-time controls stop using the window's pool before it goes.
    ControlEnvironment& controls = DynamicControlEnvironment();
    if (frame_ && controls.pool == &frame_->controlIds()) controls = ControlEnvironment{};
    // The window goes before the document it shows.
    frame_.reset();
    doc_.reset();
}

SettingsStore* CQRNApp::settings() const { return settings_.get(); }

bool CQRNApp::InitInstance(const QStringList& arguments) {
    const ShellCommand command = ParseCommandLine(arguments);

    // 1. One program per user.
    instance_ = std::make_unique<SingleInstance>(
        options_.instanceKey.isEmpty() ? SingleInstance::DefaultKey() : options_.instanceKey,
        options_.lockDirectory.isEmpty() ? SingleInstance::DefaultLockDirectory() : options_.lockDirectory);
    if (!instance_->Acquire()) {
        // The running program opens a file given here; this one refuses to start.
        if (command.kind == ShellCommand::Kind::FileOpen) instance_->SendToRunning({QFileInfo(command.file).absoluteFilePath()});
        ShowMessageBox(nullptr, Text(texts::kAlreadyRunningText), Text(texts::kAlreadyRunningCaption),
                       MessageStyle::IconError);
        exitCode_ = 1;
        return false;
    }
    connect(instance_.get(), &SingleInstance::filesReceived, this, &CQRNApp::ReceiveFiles);

    // 4. The settings file.
    settingsPath_ =
        options_.settingsPath.empty() ? SettingsPathForExecutable(ExecutablePath()) : options_.settingsPath;
    settings_ = std::make_unique<IniSettingsStore>(settingsPath_);
    // 5. The recent-file list.
    recent_.Load(*settings_);

    // 7. The command line.
    switch (command.kind) {
        case ShellCommand::Kind::FileNew:
            OnFileNew();
            if (!doc_) {
                exitCode_ = 1;
                return false;
            }
            break;
        case ShellCommand::Kind::FileOpen:
            if (!OpenDocumentFile(command.file)) {
                exitCode_ = 1;
                return false;
            }
            break;
        case ShellCommand::Kind::FilePrint:
        case ShellCommand::Kind::FilePrintTo:
            // A print request prints and ends the program.
            exitCode_ = PrintDocument(command) ? 0 : 1;
            return false;
        case ShellCommand::Kind::Invalid:
            // Said on the terminal, as other programs do; the usage names every form.
            std::fprintf(stderr, "korvath: the command line \"%s\" is not understood; korvath --help shows its forms\n",
                         arguments.join(QLatin1Char(' ')).toLocal8Bit().constData());
            exitCode_ = 2;
            return false;
    }

    // 8. The main window (which takes dropped files), then the hidden help viewer.
    frame_->show();
    frame_->view()->setFocus();
    shell_->CreateHelpViewer(frame_.get());
    return true;
}

bool CQRNApp::EnsureDocument() {
    if (doc_) return true;
    // The document owns the link through its monitor, whose poll timer starts at once.
    std::unique_ptr<ByteTransport> transport = options_.transport
                                                   ? options_.transport(*settings_, settingsPath_)
                                                   : MakeControllerTransport(*settings_, settingsPath_);
    if (auto* serial = dynamic_cast<CSerialPort*>(transport.get()))
        serial->SetNoticeHandler([this](const std::string& text) { ShowLinkNotice(text); });
    doc_ = std::make_unique<CQRNDoc>(DocumentHost{messages_, status_, *settings_, &timer_},
                                     options_.programDirectory.empty() ? ProgramDirectory() : options_.programDirectory,
                                     std::move(transport));
    // Rewritten at every start, so a launcher the user deleted comes back.
    shell_->CreateDesktopShortcut();
    // The boxes and the first-run port dialog come before the main window exists.
    StartupBoxes();
    frame_ = std::make_unique<CMainFrame>(*this, *doc_, *settings_, *controller_, *shell_);
    messages_.SetOwner(frame_.get());
    DynamicControlEnvironment() = ControlEnvironment{&frame_->controlIds(), &messages_,
                                                     [this](const std::string& path) { ShowHelpTopic(path.c_str()); }};
    status_.Attach(frame_->statusBar(), frame_->progressBar());
    status_.SetLinkTimer(&timer_);
    if (!pendingLinkNotice_.empty()) ShowLinkNotice(std::exchange(pendingLinkNotice_, std::string()));
    doc_->SetViewHost(frame_.get());
    return true;
}

namespace {

// The link's notice in a label of its own at the status bar's right, for a minute: the status
// texts of the connection that follows at once would wipe it away from the message area.
void ShowLastingNotice(QStatusBar* bar, const QString& text) {
    auto* label = bar->findChild<QLabel*>(QStringLiteral("linkNotice"));
    if (!label) {
        label = new QLabel(bar);
        label->setObjectName(QStringLiteral("linkNotice"));
        label->setAccessibleName(QStringLiteral("Link notice"));
        bar->addPermanentWidget(label);
    }
    label->setText(text);
    label->show();
    QTimer::singleShot(60'000, label, [label, text] {
        if (label->text() == text) label->hide();
    });
}

}  // namespace

void CQRNApp::ShowLinkNotice(const std::string& text) {
    if (!frame_) {
        pendingLinkNotice_ = text;
        return;
    }
    status_.SetStatusText(text);
    ShowLastingNotice(frame_->statusBar(), QString::fromStdString(text));
}

void CQRNApp::StartupBoxes() {
    using namespace settings;
    const bool portChosen = settings_->GetInt(kCommunication, kComPortNumber, kComPortNumberDefault) != 0;
    const bool firstRun = !portChosen && !controller_->IsUsb();
    // Only exactly 1 shows a box.
    if (settings_->GetInt(kAboutBox, kShowAtStartup, kShowAtStartupDefault) == 1) shell_->ShowAboutBox(nullptr);
    if (settings_->GetInt(kStartBox, kShowAtStartup, kShowAtStartupDefault) == 1) shell_->ShowStartBox(nullptr);
    if (firstRun) {
        doc_->ShowMessage(texts::kSelectPortText, texts::kSelectPortCaption, MessageStyle::IconInformation);
        shell_->RunComPortDialog(nullptr);
    }
}

void CQRNApp::OnNewDocument() {
    doc_->InitNewCalibration();
    doc_->RefreshViews(1);
    doc_->RefreshSettingsSheet(0);
    pathName_.clear();
    doc_->SetModifiedFlag(false);
    frame_->ForgetEdits();
    frame_->UpdateTitle();
}

void CQRNApp::OnFileNew() {
    if (frame_ && frame_->systemSettings()) {
        ShowMessageBox(nullptr, Text(texts::kCloseSettingsFirst), Text(texts::kErrorCaption), MessageStyle::IconError);
        return;
    }
    const bool existed = doc_ != nullptr;
    if (existed && !SaveModified()) return;
    EnsureDocument();
    OnNewDocument();
    if (frame_ && newFileCompleted_ == 1) frame_->OnCommand(cmd::SetupWizard);
    newFileCompleted_ = 1;
}

QString CQRNApp::PromptFileName(bool save, const QString& suggested) {
    const QString filter = Text(texts::kFileFilter) + QStringLiteral(";;") + Text(texts::kAllFilesFilter);
    if (save) return QFileDialog::getSaveFileName(frame_.get(), Text(texts::kSaveAsTitle), suggested, filter);
    return QFileDialog::getOpenFileName(frame_.get(), Text(texts::kOpenTitle), suggested, filter);
}

void CQRNApp::OnFileOpen() {
    const QString dir = pathName_.isEmpty() ? QDir::currentPath() : QFileInfo(pathName_).absolutePath();
    const QString path = PromptFileName(false, dir);
    if (!path.isEmpty()) OpenDocumentFile(path);
}

void CQRNApp::OpenRecentFile(const QString& path) {
    if (!OpenDocumentFile(path) && !QFileInfo::exists(path)) {
        recent_.Remove(path);
        if (frame_) frame_->RebuildRecentFiles();
    }
}

bool CQRNApp::OpenDocumentFile(const QString& path) {
    const bool existed = doc_ != nullptr;
    if (existed && !SaveModified()) return false;
    EnsureDocument();
    // Opening identifies the controller and refreshes the settings sheet through the document.
    if (!OpenCalibrationFile(*doc_, QFileInfo(path).absoluteFilePath().toStdString())) return false;
    frame_->ForgetEdits();
    pathName_ = QFileInfo(path).absoluteFilePath();
    recent_.Add(pathName_);
    frame_->RebuildRecentFiles();
    frame_->UpdateTitle();
    return true;
}

bool CQRNApp::OnFileSave() {
    if (!doc_) return false;
    if (pathName_.isEmpty()) return OnFileSaveAs();
    return DoSave(pathName_);
}

bool CQRNApp::OnFileSaveAs() {
    if (!doc_) return false;
    QString suggested = pathName_;
    if (suggested.isEmpty()) suggested = QDir::current().filePath(DocumentName() + Text(texts::kFileExtension));
    QString path = PromptFileName(true, suggested);
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += Text(texts::kFileExtension);
    return DoSave(path);
}

bool CQRNApp::DoSave(const QString& path) {
    if (!doc_ || !SaveCalibrationFile(*doc_, path.toStdString())) return false;
    pathName_ = QFileInfo(path).absoluteFilePath();
    recent_.Add(pathName_);
    if (frame_) {
        frame_->EditsSaved();
        frame_->RebuildRecentFiles();
        frame_->UpdateTitle();
    }
    return true;
}

bool CQRNApp::SaveModified() {
    if (!doc_ || !doc_->IsModified()) return true;
    const QString text = Text(texts::kSaveChangesFormat).arg(DocumentName());
    switch (ShowMessageBox(frame_.get(), text, Text(texts::kAppTitle),
                           MessageStyle::YesNoCancel | MessageStyle::IconExclamation)) {
        case MessageResult::Yes: return OnFileSave();
        case MessageResult::No: return true;
        default: return false;
    }
}

void CQRNApp::SetPathName(const QString& path) {
    pathName_ = path;
    if (frame_) frame_->UpdateTitle();
}

QString CQRNApp::DocumentName() const {
    return pathName_.isEmpty() ? Text(texts::kUntitled) : QFileInfo(pathName_).fileName();
}

void CQRNApp::SaveRecentFiles() {
    if (settings_) recent_.Save(*settings_);
}

bool CQRNApp::PrintDocument(const ShellCommand& command) {
    if (!OpenDocumentFile(command.file)) return false;
    // The window is laid out as on the screen, without being shown, so the page shows what the
    // screen would.
    frame_->setAttribute(Qt::WA_DontShowOnScreen);
    frame_->show();
    QPrinter& printer = frame_->printer();
    if (command.kind == ShellCommand::Kind::FilePrintTo) {
        if (command.printer.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(command.printer);
        } else {
            printer.setPrinterName(command.printer);
        }
    }
    const bool printed = frame_->view()->FilePrintDirect(printer);
    frame_->hide();
    return printed;
}

void CQRNApp::ShowHelpTopic(const char* topic) { shell_->ShowHelpTopic(topic); }

void CQRNApp::ReceiveFiles(const QStringList& files) {
    if (!frame_ || files.isEmpty()) return;
    frame_->raise();
    frame_->activateWindow();
    OpenDocumentFile(files.first());
}

}  // namespace korvath::ui
