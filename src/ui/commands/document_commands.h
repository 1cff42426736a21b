#pragma once
// The controller commands of the main window on the document: Write and Read Calibration (the
// read asks to save a modified calibration first and retitles the document after the table it
// came from), the table choice, the RAM dump opened in the system's viewer, and the mail to
// technical support through the desktop's mail composer.

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "calibration/support_mail.h"
#include "document/diagnostics.h"
#include "ui/app/controller_commands.h"

namespace korvath::ui {

class CQRNApp;

// Where the support mail goes: "MailAddress" in section "Tech Support" of the settings file,
// the maker's mailbox when absent or empty.
inline constexpr char kSupportSection[] = "Tech Support";
inline constexpr char kSupportAddressKey[] = "MailAddress";

class DocumentCommands : public DocumentLinkCommands {
public:
    explicit DocumentCommands(CQRNApp& app);
    // Deletes the temporary copies of mails that were handed to the mail client.
    ~DocumentCommands() override;

    void WriteCalibration() override;
    void ReadCalibration() override;
    void DumpSystemState() override;
    void EmailTechSupport() override;
    // The dump needs the controller; the mail command is always offered and says what is
    // missing when the desktop has no mail composer.
    bool CanDumpSystemState() override { return IsConnected(); }

    // How a file is shown in the system's viewer (the desktop's default application).
    void SetFileOpener(std::function<bool(const QString&)> opener) { opener_ = std::move(opener); }
    // The mail composer program's name, looked up on PATH (default "xdg-email").
    void SetMailProgram(QString program) { mailProgram_ = std::move(program); }
    QString SupportAddress() const;

private:
    CQRNApp& app_;
    std::function<bool(const QString&)> opener_;
    QString mailProgram_;
    // Mails given to the mail client: a composer may read its attachments after the program
    // that started it has returned, so their temporary copies stay until the end of the run.
    std::vector<SupportMail> sentMails_;
};

}  // namespace korvath::ui
