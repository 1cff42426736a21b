// The RAM dump for technical support.

#include "document/diagnostics.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

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

}  // namespace korvath
