#include "ui/app/recent_files.h"

#include <QFileInfo>
#include <cstdio>

#include "platform/settings_keys.h"
#include "platform/settings_store.h"

namespace korvath::ui {
namespace {
std::string KeyFor(int index) {
    char key[16];
    std::snprintf(key, sizeof key, settings::kRecentFileKeyFormat, index + 1);
    return key;
}

QString Canonical(const QString& path) {
    const QFileInfo info(path);
    return info.exists() ? info.absoluteFilePath() : path;
}
}  // namespace

void RecentFileList::Load(SettingsStore& settings) {
    files_.clear();
    for (int i = 0; i < kSize; ++i) {
        const std::string value = settings.GetString(settings::kRecentFileList, KeyFor(i), "");
        if (!value.empty()) files_.append(QString::fromStdString(value));
    }
}

void RecentFileList::Save(SettingsStore& settings) const {
    for (int i = 0; i < kSize; ++i) {
        const std::string current = settings.GetString(settings::kRecentFileList, KeyFor(i), "");
        const std::string wanted = i < files_.size() ? files_[i].toStdString() : std::string();
        // Unchanged entries are not written, so the file is not rewritten at every exit.
        if (current != wanted) settings.SetString(settings::kRecentFileList, KeyFor(i), wanted);
    }
}

void RecentFileList::Add(const QString& path) {
    const QString file = Canonical(path);
    files_.removeAll(file);
    files_.prepend(file);
    while (files_.size() > kSize) files_.removeLast();
}

void RecentFileList::Remove(const QString& path) { files_.removeAll(Canonical(path)); }

}  // namespace korvath::ui
