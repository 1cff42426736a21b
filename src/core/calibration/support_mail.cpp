// What the e-mail to technical support carries: the calibration (or a temporary copy of it)
// and a fresh RAM dump.

#include "calibration/support_mail.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "calibration/archive.h"
#include "calibration/calibration_file.h"
#include "document/qrndoc.h"
#include "platform/paths.h"
#include "platform/user_folders.h"

namespace korvath {

std::optional<SupportMail> PrepareSupportMail(CQRNDoc& doc, const std::string& pathName, const std::string& title) {
    SupportMail mail;
    mail.subject = diagnostics::kMailSubject;
    mail.recipientName = diagnostics::kSupportName;
    mail.recipientAddress = diagnostics::kSupportAddress;

    std::string displayName = title;
    if (!pathName.empty()) {
        const auto slash = pathName.find_last_of("\\/");
        displayName = slash == std::string::npos ? pathName : pathName.substr(slash + 1);
    }
    if (displayName.find('.') == std::string::npos) displayName += kCalibrationExtension;

    std::string calibrationPath;
    if (!pathName.empty() && !doc.IsModified()) {
        calibrationPath = pathName;
    } else {
        // A copy of the calibration as it is now; the document itself stays as it was.
        ArchiveWriter ar;
        if (!Serialize(ar, doc.calibration(), doc.reader().text())) return std::nullopt;
        // The system's temporary folder, or the user's data folder when it is missing or
        // not writable (TMPDIR naming a folder that is gone).
        std::error_code noTemp;
        const std::string base = WritableDirectory(std::filesystem::temp_directory_path(noTemp).string());
        std::string reason;
        if (!MakeDirectories(base, reason)) return std::nullopt;
        std::string folder = JoinPath(base, std::string(diagnostics::kTemporaryPrefix) + "XXXXXX");
        if (!::mkdtemp(folder.data())) return std::nullopt;
        std::string fileName = displayName;
        for (char& c : fileName)
            if (c == '/' || c == '\\') c = '_';
        if (fileName == "." || fileName == "..") fileName = "calibration" + std::string(kCalibrationExtension);
        const std::string path = JoinPath(folder, fileName);
        std::FILE* file = std::fopen(path.c_str(), "wb");
        const std::string& bytes = ar.bytes();
        const bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        const bool closed = file && std::fclose(file) == 0;
        if (!written || !closed) {
            std::error_code ec;
            std::filesystem::remove_all(folder, ec);
            return std::nullopt;
        }
        calibrationPath = mail.temporaryFile = path;
        mail.temporaryFolder = folder;
    }

    doc.DumpControllerRam();  // the dump file is attached in whatever state it is left

    mail.attachments.push_back({calibrationPath, displayName});
    // No dump file at all (it could not be made, and none was made before): the mail
    // composer would refuse an attachment that does not exist.
    const std::string dump = doc.RamDumpPath();
    std::error_code ec;
    if (std::filesystem::is_regular_file(dump, ec)) mail.attachments.push_back({dump, diagnostics::kRamDumpFileName});
    return mail;
}

void FinishSupportMail(const SupportMail& mail) {
    std::error_code ec;
    if (!mail.temporaryFile.empty()) std::filesystem::remove(mail.temporaryFile, ec);
    if (!mail.temporaryFolder.empty()) std::filesystem::remove(mail.temporaryFolder, ec);
}

std::vector<std::string> MailProgramArguments(const SupportMail& mail) {
    std::vector<std::string> args{"--subject", mail.subject};
    for (const MailAttachment& a : mail.attachments) {
        args.push_back("--attach");
        args.push_back(a.path);
    }
    args.push_back(mail.recipientAddress);
    return args;
}

}  // namespace korvath
