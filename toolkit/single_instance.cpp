#include "toolkit/single_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <pwd.h>
#include <unistd.h>

namespace quendal {
namespace {

constexpr char kRaiseMessage[] = "raise\n";
// A copy that has just taken the lock may need a moment before it listens.
constexpr int kConnectPatienceMs = 3000;

QString userName() {
    if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_name != nullptr) {
        return QString::fromLocal8Bit(pw->pw_name);
    }
    return QString::number(::getuid());
}

// The user's own runtime folder, which no other user can enter; the temporary folder only
// when the system has none.
QString privateFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        folder = QDir::tempPath();
    }
    return folder;
}

} // namespace

SingleInstanceGuard::SingleInstanceGuard(QString key, QObject* parent)
    : QObject(parent),
      key_(privateFolder() + QLatin1Char('/') + (key.isEmpty() ? defaultKey() : std::move(key))) {
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstanceGuard::acceptConnections);
}

SingleInstanceGuard::~SingleInstanceGuard() {
    server_.close();
    if (lock_) {
        lock_->unlock();
    }
}

QString SingleInstanceGuard::defaultKey() {
    QString exe = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    if (exe.isEmpty()) {
        exe = QStringLiteral("quendal");
    }
    return exe + QLatin1Char('-') + userName();
}

bool SingleInstanceGuard::tryToRun() {
    // The lock decides who is first; it lasts as long as this copy and goes stale by
    // itself when a copy dies without releasing it.
    lock_ = std::make_unique<QLockFile>(key_ + QStringLiteral(".lock"));
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0) || takeOverStaleLock()) {
        QLocalServer::removeServer(key_); // a socket left by a copy that crashed
        server_.setSocketOptions(QLocalServer::UserAccessOption);
        if (!server_.listen(key_)) {
            // Without the socket later copies cannot reach us, but we still run alone.
            qWarning("single instance: cannot listen on %s: %s", qPrintable(key_),
                     qPrintable(server_.errorString()));
        }
        alreadyRunning_ = false;
        return true;
    }
    if (lock_->error() != QLockFile::LockFailedError) {
        // No lock can be made here at all, so no other copy holds one: this copy runs, only
        // without the guard.
        qWarning("single instance: cannot make the lock %s", qPrintable(lock_->fileName()));
        alreadyRunning_ = false;
        return true;
    }
    alreadyRunning_ = true;
    runningCopyReached_ = askRunningCopyToRaise();
    return false;
}

bool SingleInstanceGuard::takeOverStaleLock() {
    if (lock_->error() != QLockFile::LockFailedError) {
        return false;
    }
    // A lock file that names a process is left to the lock itself, which takes over the file
    // of a copy that has died. One that names nothing (empty, cut short, unreadable) was left
    // by a copy that died while writing it, or by a broken disk: it is removed unless a live
    // copy still holds it open and locked, which the removal itself checks.
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock_->getLockInfo(&pid, &host, &application)) {
        return false;
    }
    const QString path = lock_->fileName();
    if (!QFileInfo(path).isReadable()) {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }
    return lock_->removeStaleLockFile() && lock_->tryLock(0);
}

bool SingleInstanceGuard::askRunningCopyToRaise() {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kConnectPatienceMs) {
        QLocalSocket socket;
        socket.connectToServer(key_);
        if (socket.waitForConnected(500)) {
            socket.write(kRaiseMessage);
            const bool sent = socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return sent;
        }
        QThread::msleep(50);
    }
    return false;
}

void SingleInstanceGuard::acceptConnections() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            const QByteArray message = socket->readAll();
            if (message.contains("raise")) {
                emit raiseRequested();
            }
        });
        if (socket->bytesAvailable() > 0 && socket->readAll().contains("raise")) {
            emit raiseRequested();
        }
    }
}

} // namespace quendal
