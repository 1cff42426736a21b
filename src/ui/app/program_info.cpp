#include "ui/app/program_info.h"

#include <cstdio>

#include "document/version.h"

namespace korvath::ui {
namespace {

// The forms of the command line after the program's name, and what they do.
constexpr const char* kForms[] = {"[FILE]", "/p FILE", "/pt FILE PRINTER [DRIVER PORT]", "--print-to PRINTER FILE"};
constexpr const char* kDescription =
    "\n"
    "The Korvath Tuning System. Without FILE it starts on a new calibration; with FILE (a\n"
    "calibration, or a calibration of the older format) it opens it.\n"
    "\n"
    "Options:\n"
    "  /p, -p, --print FILE     print FILE on the default printer and end\n"
    "  /pt, -pt FILE PRINTER    print FILE on PRINTER and end (a PDF file when PRINTER ends in .pdf)\n"
    "  --print-to PRINTER FILE  the same, printer first\n"
    "  -h, --help               show this help and end\n"
    "  -v, --version            show the version and end\n";

}  // namespace

ProgramInfoRequest ProgramInfoRequestOf(const std::vector<std::string_view>& arguments) {
    if (arguments.size() != 1) return ProgramInfoRequest::None;
    if (arguments[0] == "--help" || arguments[0] == "-h") return ProgramInfoRequest::Help;
    if (arguments[0] == "--version" || arguments[0] == "-v") return ProgramInfoRequest::Version;
    return ProgramInfoRequest::None;
}

std::string UsageText(std::string_view programName) {
    std::string text;
    for (const char* form : kForms) {
        text += text.empty() ? "Usage: " : "       ";
        text.append(programName).append(" ").append(form).append("\n");
    }
    return text + kDescription;
}

std::string VersionText(std::string_view programName, char packageRevision) {
    const unsigned char letter = static_cast<unsigned char>(packageRevision);
    char version[32];
    std::snprintf(version, sizeof version, "%d.%02d", kProgramVersionMajor, kProgramVersionMinor);
    std::string text = std::string(programName) + " " + version;
    // Only a printable letter is a revision; anything else in the file is not shown.
    if (letter > 0x20 && letter < 0x7F) text += static_cast<char>(letter);
    return text + "\n";
}

}  // namespace korvath::ui
