// The RAM dump for technical support, and what the e-mail to technical support carries.

#include "document/diagnostics.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "document/archive.h"
#include "document/calibration_file.h"
#include "document/qrndoc.h"
#include "platform/atomic_file.h"
#include "platform/message_style.h"
#include "platform/paths.h"
#include "platform/printf_format.h"
#include "platform/user_folders.h"

namespace korvath {
namespace {

constexpr int kRowLength = 16;

std::string ParentFolder(const std::string& path) { return std::filesystem::path(path).parent_path().string(); }

std::string RuleLine() { return "\n    +" + std::string(48, '-'); }

// The row label before the byte at address, when address starts a row.
std::string RowStart(int address) {
    return address % kRowLength == 0 ? FormatText(diagnostics::kRamDumpRowFormat, address / kRowLength) : std::string();
}

}  // namespace

std::string RamDumpText(const std::vector<unsigned char>& bytes) {
    std::string text = diagnostics::kRamDumpHeader + RuleLine();
    const int count = static_cast<int>(std::min<std::size_t>(bytes.size(), diagnostics::kRamDumpBytes));
    for (int a = 0; a < count; ++a) {
        text += RowStart(a);
        text += FormatText(diagnostics::kRamDumpByteFormat, bytes[static_cast<std::size_t>(a)]);
    }
    return text;
}

std::string CQRNDoc::RamDumpPath() const {
    return JoinPath(WritableDirectory(programDirectory_), diagnostics::kRamDumpFileName);
}

RamDumpResult CQRNDoc::DumpControllerRam() {
    const std::string path = RamDumpPath();
    auto fileFailed = [&](const std::string& reason) {
        host_.messages.ShowMessage(FormatText(diagnostics::kRamDumpFileFailed, path.c_str(), reason.c_str()),
                                   diagnostics::kRamDumpFileCaption, MessageStyle::Ok | MessageStyle::IconError);
        return RamDumpResult::FileFailed;
    };
    // A folder where the file cannot be made is found before the 256 exchanges, not after.
    std::string reason;
    const std::string folder = ParentFolder(path);
    if (!MakeDirectories(folder, reason)) return fileFailed(reason);
    if (::access(folder.c_str(), W_OK | X_OK) != 0) return fileFailed(SystemReason(errno));

    host_.status.SetStatusText(diagnostics::kReadingStateStatus);
    std::vector<unsigned char> bytes;
    bytes.reserve(diagnostics::kRamDumpBytes);
    for (int a = 0; a < diagnostics::kRamDumpBytes; ++a) {
        std::int32_t value = CTCS_Monitor::kNoValue;
        std::string errorText;
        // The reads go out whether or not the link is marked connected.
        if (!monitor_ || !monitor_->access_RAM('f', a, value, errorText)) return RamDumpResult::ControllerFailed;
        bytes.push_back(static_cast<unsigned char>(value & 0xFF));
    }
    // Written beside the old dump and renamed over it, so that a failure leaves the old one.
    errno = 0;
    if (!WriteFileAtomically(path, RamDumpText(bytes))) return fileFailed(SystemReason(errno));
    host_.status.SetStatusText(diagnostics::kStateReadStatus);
    return RamDumpResult::Written;
}

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
