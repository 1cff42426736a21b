// The RAM dump for technical support, and what the e-mail to technical support carries.

#include "document/diagnostics.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "document/archive.h"
#include "document/calibration_file.h"
#include "document/qrndoc.h"
#include "platform/paths.h"
#include "platform/printf_format.h"

namespace korvath {
namespace {

constexpr int kRowLength = 16;

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

std::string CQRNDoc::RamDumpPath() const { return JoinPath(programDirectory_, diagnostics::kRamDumpFileName); }

bool CQRNDoc::DumpControllerRam() {
    std::FILE* file = std::fopen(RamDumpPath().c_str(), "w");
    if (!file) return false;
    host_.status.SetStatusText(diagnostics::kReadingStateStatus);
    const std::string head = diagnostics::kRamDumpHeader + RuleLine();
    std::fputs(head.c_str(), file);
    for (int a = 0; a < diagnostics::kRamDumpBytes; ++a) {
        std::fputs(RowStart(a).c_str(), file);
        std::int32_t value = CTCS_Monitor::kNoValue;
        std::string errorText;
        // The reads go out whether or not the link is marked connected.
        if (!monitor_ || !monitor_->access_RAM('f', a, value, errorText)) {
            std::fclose(file);
            return false;
        }
        std::fprintf(file, diagnostics::kRamDumpByteFormat, static_cast<unsigned>(value & 0xFF));
    }
    const bool written = std::fclose(file) == 0;
    host_.status.SetStatusText(diagnostics::kStateReadStatus);
    return written;
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
        std::string folder = (std::filesystem::temp_directory_path() /
                              (std::string(diagnostics::kTemporaryPrefix) + "XXXXXX"))
                                 .string();
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
    mail.attachments.push_back({doc.RamDumpPath(), diagnostics::kRamDumpFileName});
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
