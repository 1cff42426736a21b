#include "cli_host.h"

#include <cstdio>

#include "platform/paths.h"

namespace korvath::cli {

std::string MessageLine(std::string_view text, std::string_view caption) {
    std::string line = "[";
    line += caption;
    line += "] ";
    for (char c : text) {
        if (c == '\n')
            line += "\\n";
        else
            line += c;
    }
    return line;
}

int TerminalHost::ShowMessage(std::string_view text, std::string_view caption, unsigned style) {
    std::fprintf(stderr, "%s\n", MessageLine(text, caption).c_str());
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
