#include "cli_host.h"

#include <unistd.h>

#include <cstdio>

#include "platform/paths.h"

namespace korvath::cli {

std::string MessageLine(std::string_view text, std::string_view caption, bool onTerminal) {
    std::string line = "[";
    line += caption;
    line += "] ";
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n') {
            line += text[i];
        } else if (!onTerminal) {
            line += "\\n";
        } else {
            line += '\n';
            // An empty line stays empty; the others are indented under the caption.
            if (i + 1 < text.size() && text[i + 1] != '\n') line += "  ";
        }
    }
    return line;
}

bool ErrorsGoToTerminal() { return ::isatty(STDERR_FILENO) == 1; }

int TerminalHost::ShowMessage(std::string_view text, std::string_view caption, unsigned style) {
    std::fprintf(stderr, "%s\n", MessageLine(text, caption, ErrorsGoToTerminal()).c_str());
    return DefaultMessageResult(style);
}

void TerminalHost::SetStatusText(std::string_view text) {
    if (verbose_) std::fprintf(stderr, "status: %.*s\n", static_cast<int>(text.size()), text.data());
}

void TerminalHost::ShowNotice(std::string_view text) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
}

std::unique_ptr<SettingsStore> OpenSettings() {
    return std::make_unique<IniSettingsStore>(SettingsPathForExecutable(ExecutablePath()));
}

}  // namespace korvath::cli
