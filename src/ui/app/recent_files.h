#pragma once
// The recent-file list: at most five calibrations, newest first, kept in the settings file under
// "Recent File List" as "File1" ... "File5".

#include <QStringList>

namespace korvath {
class SettingsStore;
}

namespace korvath::ui {

class RecentFileList {
public:
    static constexpr int kSize = 5;

    void Load(SettingsStore& settings);
    void Save(SettingsStore& settings) const;
    // Puts `path` first (once); the oldest entry falls off the end.
    void Add(const QString& path);
    void Remove(const QString& path);
    const QStringList& files() const { return files_; }

private:
    QStringList files_;
};

}  // namespace korvath::ui
