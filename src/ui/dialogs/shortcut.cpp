#include "ui/dialogs/shortcut.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "ui/dialogs/dialog_texts.h"

namespace korvath::ui {
namespace {

// A value of a desktop entry: one line, with backslashes and line breaks escaped.
std::string EntryValue(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: out += c; break;
        }
    }
    return out;
}

// The picture of the launcher: the icon beside the program when it is there (a program run
// from its build folder), else the icon the installation puts into the icon theme.
std::string LauncherIcon(const std::string& programDirectory) {
    const QString beside = QString::fromStdString(programDirectory) + QStringLiteral("/desktop/korvath.svg");
    if (QFileInfo::exists(beside)) return beside.toStdString();
    return dialog_texts::kIconThemeName;
}

}  // namespace

std::string ShellFolderPath(int folderId) {
    if (folderId != kDesktopFolder && folderId != kDesktopDirectoryFolder && folderId != kCommonDesktopFolder)
        return {};
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    // The home folder itself is what Qt answers when there is no desktop: not a desktop.
    if (desktop.isEmpty() || QDir(desktop) == QDir::home() || !QFileInfo(desktop).isDir()) return {};
    return desktop.toStdString();
}

std::string QuoteExecArgument(const std::string& argument) {
    static const std::string reserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string out;
    bool quote = argument.empty();
    for (char c : argument) {
        if (reserved.find(c) != std::string::npos) quote = true;
    }
    if (quote) out += '"';
    for (char c : argument) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) out += '\\';
        if (c == '%') out += '%';
        out += c;
    }
    if (quote) out += '"';
    return out;
}

std::string DesktopEntryText(const std::string& target, const std::string& workingDirectory,
                             const std::string& description, const std::string& icon) {
    std::string text = "[Desktop Entry]\n";
    text += "Type=Application\n";
    text += "Version=1.0\n";
    text += "Name=" + EntryValue(dialog_texts::kShortcutName) + "\n";
    text += "Comment=" + EntryValue(description) + "\n";
    // The Exec value is itself an escaped string: quoting first, then the value escapes.
    text += "Exec=" + EntryValue(QuoteExecArgument(target)) + " %f\n";
    text += "Path=" + EntryValue(workingDirectory) + "\n";
    text += "Icon=" + EntryValue(icon) + "\n";
    text += "Terminal=false\n";
    text += "MimeType=application/x-korvath-calibration;\n";
    text += "Categories=Utility;Engineering;\n";
    return text;
}

bool CreateShortcut(const std::string& target, const std::string& linkFileName, const std::string& workingDirectory,
                    const std::string& description, int folderId) {
    const std::string folder = ShellFolderPath(folderId);
    if (folder.empty() || linkFileName.empty() || linkFileName.find('/') != std::string::npos) return false;
    const QString linkPath = QString::fromStdString(folder + "/" + linkFileName);

    QSaveFile file(linkPath);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const std::string text = DesktopEntryText(target, workingDirectory, description, LauncherIcon(workingDirectory));
    if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) return false;
    // Desktops start only launchers that are marked executable.
    QFile::setPermissions(linkPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                        QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                        QFileDevice::ExeOther);
    return true;
}

bool CreateProgramShortcut(const std::string& executablePath, const std::string& programDirectory) {
    if (executablePath.empty()) return false;
    return CreateShortcut(executablePath, dialog_texts::kShortcutFileName, programDirectory,
                          dialog_texts::kShortcutDescription, kCommonDesktopFolder);
}

}  // namespace korvath::ui
