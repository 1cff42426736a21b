#include "ui/commands/document_commands.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "document/qrndoc.h"
#include "platform/message_style.h"
#include "platform/settings_store.h"
#include "ui/app/app_texts.h"
#include "ui/app/mainfrm.h"
#include "ui/app/qrn.h"
#include "ui/commands/transreadbackdecoder.h"

namespace korvath::ui {
namespace {

// The wait cursor for the length of a command.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The mail composer's exit status when it does not understand its arguments.
constexpr int kMailProgramSyntaxError = 1;

}  // namespace

DocumentCommands::DocumentCommands(CQRNApp& app)
    : DocumentLinkCommands([&app] { return app.document(); }),
      app_(app),
      opener_([](const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }),
      mailProgram_(QString::fromUtf8(diagnostics::kMailProgram)) {}

DocumentCommands::~DocumentCommands() {
    for (const SupportMail& mail : sentMails_) FinishSupportMail(mail);
}

void DocumentCommands::WriteCalibration() {
    if (CQRNDoc* doc = document()) doc->OnWriteCalibration();
}

void DocumentCommands::ReadCalibration() {
    CQRNDoc* doc = document();
    if (!doc || !app_.SaveModified()) return;
    // Several similar transmissions for the image read: the user picks one.
    CTransReadbackDecoder chooser(app_.mainFrame());
    doc->SetReadbackChooser(&chooser);
    const std::string title = doc->OnReadCalibration(app_.pathName().toStdString());
    doc->SetReadbackChooser(nullptr);
    if (CMainFrame* frame = app_.mainFrame()) frame->ForgetEdits();
    // The new name is not a file of the recent-file list; the title stays even when the read
    // failed.
    app_.SetPathName(QFileInfo(QString::fromStdString(title)).absoluteFilePath());
}

void DocumentCommands::DumpSystemState() {
    CQRNDoc* doc = document();
    if (!doc) return;
    doc->DumpControllerRam();
    // An older dump, or nothing, when this one could not be written.
    if (app_.mainFrame() && opener_) opener_(QString::fromStdString(doc->RamDumpPath()));
}

QString DocumentCommands::SupportAddress() const {
    std::string address = diagnostics::kSupportAddress;
    if (SettingsStore* settings = app_.settings()) {
        std::string stored = settings->GetString(kSupportSection, kSupportAddressKey, "");
        if (!stored.empty()) address = stored;
    }
    return QString::fromStdString(address);
}

void DocumentCommands::EmailTechSupport() {
    CQRNDoc* doc = document();
    if (!doc) return;
    WaitCursor wait;
    auto tell = [doc](const char* text) {
        doc->ShowMessage(text, texts::kAppTitle, MessageStyle::Ok | MessageStyle::IconExclamation);
    };
    const QString program = QStandardPaths::findExecutable(mailProgram_);
    if (program.isEmpty()) return tell(diagnostics::kMailUnavailable);

    // A failed temporary save ends the command without a message.
    std::optional<SupportMail> mail =
        PrepareSupportMail(*doc, app_.pathName().toStdString(), app_.DocumentName().toStdString());
    if (!mail) return;
    mail->recipientAddress = SupportAddress().toStdString();

    QStringList arguments;
    for (const std::string& a : MailProgramArguments(*mail)) arguments << QString::fromStdString(a);
    QProcess composer;
    composer.setProcessChannelMode(QProcess::ForwardedChannels);
    // The program's windows are disabled while the composer runs; they keep painting.
    QWidget* frame = app_.mainFrame();
    if (frame) frame->setEnabled(false);
    QEventLoop loop;
    QObject::connect(&composer, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&composer, &QProcess::errorOccurred, &loop, [&loop](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) loop.quit();
    });
    composer.start(program, arguments);
    if (composer.state() != QProcess::NotRunning) loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (frame) {
        frame->setEnabled(true);
        frame->activateWindow();
    }

    const char* failure = nullptr;
    if (composer.error() == QProcess::FailedToStart)
        failure = diagnostics::kMailInvalid;  // there, but it cannot be run
    else if (composer.exitStatus() != QProcess::NormalExit)
        failure = diagnostics::kMailFailed;
    else if (composer.exitCode() == diagnostics::kMailProgramNoClient)
        failure = diagnostics::kMailUnavailable;
    else if (composer.exitCode() == kMailProgramSyntaxError)
        failure = diagnostics::kMailInvalid;
    else if (composer.exitCode() != 0)
        failure = diagnostics::kMailFailed;

    if (failure) {
        FinishSupportMail(*mail);
        tell(failure);
        return;
    }
    sentMails_.push_back(std::move(*mail));
}

}  // namespace korvath::ui
