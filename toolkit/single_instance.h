#pragma once
// Keeps the program to one running copy per user. The first copy holds a lock file and
// listens on a local socket, both named after the executable and the user and kept in the
// user's private runtime folder, so only that user can reach them; a later copy asks the
// first to restore and raise its main window and then reports that it must end. A lock file
// that names no live process (empty, unreadable, or left by a copy that died) is stale and
// taken over.

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

namespace quendal {

class SingleInstanceGuard : public QObject {
    Q_OBJECT
  public:
    // key names the guard; empty: the executable's file name and the user's name.
    explicit SingleInstanceGuard(QString key = {}, QObject* parent = nullptr);
    ~SingleInstanceGuard() override;

    // True when this is the only copy: the guard then listens for later copies. False when
    // another copy runs: it has been asked to raise its window (runningCopyReached() says
    // whether the request got through).
    bool tryToRun();

    bool alreadyRunning() const { return alreadyRunning_; }
    // After tryToRun() returned false: whether the running copy received the request to
    // raise its window. False when it holds the lock but does not answer.
    bool runningCopyReached() const { return runningCopyReached_; }
    // The full path of the socket; the lock file is the same path with ".lock".
    QString serverName() const { return key_; }

    static QString defaultKey();

  signals:
    // A later copy was started: the main window should be restored and raised.
    void raiseRequested();

  private:
    void acceptConnections();
    bool askRunningCopyToRaise();
    bool takeOverStaleLock();

    QString key_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
    bool alreadyRunning_ = false;
    bool runningCopyReached_ = false;
};

} // namespace quendal
