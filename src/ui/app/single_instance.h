#pragma once
// One running program per user: a lock file (a crashed run leaves a stale lock, which the next
// start removes) and a local server through which a second start hands its files to the first.

#include <QLockFile>
#include <QObject>
#include <QStringList>
#include <memory>

class QLocalServer;

namespace korvath::ui {

class SingleInstance final : public QObject {
    Q_OBJECT
public:
    // `key` names the lock and the server; `lockDirectory` holds the lock file.
    SingleInstance(QString key, QString lockDirectory);
    ~SingleInstance() override;

    // True when this process is the only one: it then holds the lock until it ends and listens
    // for later starts.
    bool Acquire();
    // Hands `files` to the running program; false when it does not answer.
    bool SendToRunning(const QStringList& files) const;

    // The key of this installation: fixed for the product; tests that run the program from a
    // home directory of their own (KORVATH_HOME) get one key per directory.
    static QString DefaultKey();
    static QString DefaultLockDirectory();

Q_SIGNALS:
    void filesReceived(const QStringList& files);

private:
    void OnConnection();

    QString key_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};

}  // namespace korvath::ui
