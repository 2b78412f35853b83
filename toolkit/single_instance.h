#pragma once
// Keeps the program to one running copy per user. The first copy holds a lock file and
// listens on a local socket, both named after the executable and the user and kept in the
// user's private runtime folder, so only that user can reach them; a later copy asks the
// first to restore and raise its main window and then reports that it must end. The lock is
// the operating system's lock on the open lock file, which ends with the process that holds
// it: a lock file left behind by a copy that died (whatever it holds, if anything) is taken
// over, one that a live process holds locked is not. Plain system sockets, so that the
// program's start loads no network library.

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class QSocketNotifier;

namespace quendal {

class SingleInstanceGuard : public QObject {
    Q_OBJECT
  public:
    // key names the guard; empty: the executable's file name and the user's name.
    explicit SingleInstanceGuard(QString key = {}, QObject* parent = nullptr);
    ~SingleInstanceGuard() override;
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

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
    struct Connection;
    bool listen();
    void acceptConnections();
    void readConnection(Connection* connection);
    bool askRunningCopyToRaise() const;

    QString key_;
    int lockFd_ = -1;
    int listenFd_ = -1;
    std::unique_ptr<QSocketNotifier> listening_;
    std::vector<std::unique_ptr<Connection>> connections_;
    bool alreadyRunning_ = false;
    bool runningCopyReached_ = false;
};

} // namespace quendal
