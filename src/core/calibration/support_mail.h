#pragma once
// The e-mail to technical support that carries the calibration together with the RAM dump. The
// mail client itself belongs to the front end; the core says what it must be given.

#include <optional>
#include <string>
#include <vector>

#include "document/diagnostics.h"

namespace korvath {

class CQRNDoc;

namespace diagnostics {
inline constexpr char kMailSubject[] = "Zentrix data for troubleshooting";
inline constexpr char kSupportName[] = "Ardexco Tech Support";
// The maker's technical-support mailbox.
inline constexpr char kSupportAddress[] = "techsupport@ardexco.example";
// Temporary copies of an unsaved calibration go into a fresh folder named with this prefix.
inline constexpr char kTemporaryPrefix[] = "afx";
// What the front end shows when the mail client is missing, unusable, or fails.
inline constexpr char kMailUnavailable[] = "Unable to load mail system support.";
inline constexpr char kMailInvalid[] = "Mail system DLL is invalid.";
inline constexpr char kMailFailed[] = "Send Mail failed to send message.";
// The desktop's mail composer and its exit status when it finds no mail client.
inline constexpr char kMailProgram[] = "xdg-email";
inline constexpr int kMailProgramNoClient = 3;
}  // namespace diagnostics

struct MailAttachment {
    std::string path;         // the file to attach
    std::string displayName;  // the name the recipient sees
};

// Everything the mail client is given for the message to technical support.
struct SupportMail {
    std::string subject;
    std::string recipientName;
    std::string recipientAddress;
    std::vector<MailAttachment> attachments;  // the calibration, then RAMDump.txt if there is one
    // A copy of the calibration made for the mail, named with its display name (mail programs
    // that take only a path show the file's name) in a folder of its own; delete both when
    // the mail client returns (FinishSupportMail). Empty when the saved file itself is attached.
    std::string temporaryFile;
    std::string temporaryFolder;
};

// Prepares the mail: the calibration file itself when it is saved and unchanged, else a
// temporary copy (the modified flag stays as it was), and a fresh RAM dump (whatever state the
// dump file is left in; attached only when there is one). pathName: the document's file, empty when it has none; title: the
// document's title. Nothing when the temporary copy cannot be written.
std::optional<SupportMail> PrepareSupportMail(CQRNDoc& doc, const std::string& pathName, const std::string& title);

// Deletes the temporary copy of a prepared mail and its folder, if it made them.
void FinishSupportMail(const SupportMail& mail);

// The arguments of kMailProgram that open the composer with the prepared message (subject,
// attachments, recipient), for the user to review and send.
std::vector<std::string> MailProgramArguments(const SupportMail& mail);

}  // namespace korvath
