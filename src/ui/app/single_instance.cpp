#include "ui/app/single_instance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <unistd.h>

namespace korvath::ui {
namespace {
constexpr int kConnectTimeoutMs = 500;
constexpr int kIoTimeoutMs = 1000;
}  // namespace

SingleInstance::SingleInstance(QString key, QString lockDirectory)
    : key_(std::move(key)), lock_(std::make_unique<QLockFile>(QDir(lockDirectory).filePath(key_ + ".lock"))) {
    // A running program may hold the lock for days: only a dead owner makes it stale.
    lock_->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
    if (server_) server_->close();
}

QString SingleInstance::DefaultKey() {
    QString key = QStringLiteral("korvath-tuning-%1").arg(::getuid());
    const QByteArray home = qgetenv("KORVATH_HOME");
    if (!home.isEmpty())
        key += QLatin1Char('-') + QString::fromLatin1(QCryptographicHash::hash(home, QCryptographicHash::Sha1).toHex().left(12));
    return key;
}

QString SingleInstance::DefaultLockDirectory() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty() || !QDir(dir).exists()) dir = QDir::tempPath();
    return dir;
}

bool SingleInstance::Acquire() {
    // tryLock removes the lock of a process that no longer runs by itself; a lock whose owner
    // is alive means another program is running. A folder where no lock can be made at all
    // does not keep the program from starting: it then runs without the guard.
    if (!lock_->tryLock(0) && lock_->error() == QLockFile::LockFailedError) return false;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(key_) && lock_->isLocked()) {
        // A socket left by a crashed run: we hold the lock, so it is ours to remove.
        QLocalServer::removeServer(key_);
        server_->listen(key_);
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::OnConnection);
    return true;
}

bool SingleInstance::SendToRunning(const QStringList& files) const {
    QLocalSocket socket;
    socket.connectToServer(key_);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    QByteArray data;
    {
        QDataStream out(&data, QIODevice::WriteOnly);
        out << files;
    }
    QDataStream frame(&socket);
    frame << static_cast<quint32>(data.size());
    socket.write(data);
    const bool ok = socket.waitForBytesWritten(kIoTimeoutMs);
    socket.disconnectFromServer();
    return ok;
}

void SingleInstance::OnConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            // Wait for the whole message: a size and the list. A peer that sends more than a
            // list of file names would need is cut off.
            constexpr quint32 kMaxMessage = 64 * 1024;
            if (socket->bytesAvailable() < 4) return;
            quint32 size = 0;
            {
                QDataStream peek(socket->peek(4));
                peek >> size;
            }
            if (size > kMaxMessage) {
                socket->abort();
                return;
            }
            if (socket->bytesAvailable() < 4 + static_cast<qint64>(size)) return;
            socket->read(4);
            QDataStream in(socket->read(size));
            QStringList files;
            in >> files;
            if (in.status() == QDataStream::Ok) Q_EMIT filesReceived(files);
        });
    }
}

}  // namespace korvath::ui
