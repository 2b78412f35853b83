#include "toolkit/single_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

// The lock, the socket and its permissions need the operating system's own calls.
#include <fcntl.h>
#include <poll.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace quendal {
namespace {

constexpr char kRaiseMessage[] = "raise\n";
// A copy that has just taken the lock may need a moment before it listens.
constexpr int kConnectPatienceMs = 3000;
constexpr int kWritePatienceMs = 1000;
// What a connection keeps of what it was sent: enough to find the request in.
constexpr std::size_t kMessageLimit = 64;

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

// The socket address of a path; false when the path does not fit.
bool socketAddress(const std::string& path, sockaddr_un& address) {
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

int streamSocket() {
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
}

bool writeWithin(int fd, const char* bytes, std::size_t size, int patienceMs) {
    QElapsedTimer waited;
    waited.start();
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::send(fd, bytes + done, size - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        const auto left = static_cast<int>(patienceMs - waited.elapsed());
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK) || left <= 0) {
            return false;
        }
        pollfd entry{fd, POLLOUT, 0};
        ::poll(&entry, 1, left);
    }
    return true;
}

} // namespace

// A later copy's connection, read until it closes.
struct SingleInstanceGuard::Connection {
    int fd = -1;
    std::unique_ptr<QSocketNotifier> readable;
    QByteArray received;
    ~Connection() {
        readable.reset();
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

SingleInstanceGuard::SingleInstanceGuard(QString key, QObject* parent)
    : QObject(parent),
      key_(privateFolder() + QLatin1Char('/') + (key.isEmpty() ? defaultKey() : std::move(key))) {}

SingleInstanceGuard::~SingleInstanceGuard() {
    connections_.clear();
    listening_.reset();
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        ::unlink(QFile::encodeName(key_).constData());
    }
    // The lock file stays: the lock itself ends with its descriptor, and a file removed while
    // a later copy has it open could let two copies lock two files of the same name.
    if (lockFd_ >= 0) {
        ::close(lockFd_);
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
    // The lock decides who is first; it lasts as long as this copy.
    const QByteArray lockPath = QFile::encodeName(key_ + QStringLiteral(".lock"));
    lockFd_ = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_NOCTTY | O_CLOEXEC, 0600);
    if (lockFd_ < 0) {
        // No lock can be made here at all, so no other copy holds one: this copy runs, only
        // without the guard.
        qWarning("single instance: cannot make the lock %s: %s", lockPath.constData(),
                 std::strerror(errno));
        alreadyRunning_ = false;
        return true;
    }
    int locked = -1;
    do {
        locked = ::flock(lockFd_, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const bool heldByAnother = errno == EWOULDBLOCK;
        ::close(lockFd_);
        lockFd_ = -1;
        if (!heldByAnother) {
            qWarning("single instance: cannot lock %s: %s", lockPath.constData(),
                     std::strerror(errno));
            alreadyRunning_ = false;
            return true;
        }
        alreadyRunning_ = true;
        runningCopyReached_ = askRunningCopyToRaise();
        return false;
    }
    // Who holds it, for a person who looks: the process number and the program.
    const QByteArray holder = QByteArray::number(static_cast<qint64>(::getpid())) + '\n' +
                              QFile::encodeName(QCoreApplication::applicationName()) + '\n';
    // Written over the old text and cut to its length after, so that the file keeps its block
    // (freeing it can wait for the disk).
    if (::pwrite(lockFd_, holder.constData(), static_cast<std::size_t>(holder.size()), 0) !=
            holder.size() ||
        ::ftruncate(lockFd_, holder.size()) != 0) {
        qWarning("single instance: cannot write %s: %s", lockPath.constData(),
                 std::strerror(errno));
    }
    if (!listen()) {
        // Without the socket later copies cannot reach us, but we still run alone.
        qWarning("single instance: cannot listen on %s: %s", qPrintable(key_),
                 std::strerror(errno));
    }
    alreadyRunning_ = false;
    return true;
}

bool SingleInstanceGuard::listen() {
    const std::string path = QFile::encodeName(key_).toStdString();
    sockaddr_un address{};
    if (!socketAddress(path, address)) {
        errno = ENAMETOOLONG;
        return false;
    }
    // A socket left by a copy that crashed goes; this copy holds the lock.
    ::unlink(path.c_str());
    // Made in a folder of the user's own, for the user only, then moved into place, so that
    // nobody else can reach it at any moment. The folder stays for the next start, as the
    // lock file does (removing it can wait for the disk); one that is not the user's alone
    // is not used, and a folder of this start's own is made instead.
    std::string folder = path + ".new";
    bool folderOfThisStart = false;
    if (::mkdir(folder.c_str(), S_IRWXU) != 0) {
        struct stat made {};
        if (errno != EEXIST || ::lstat(folder.c_str(), &made) != 0 || !S_ISDIR(made.st_mode) ||
            made.st_uid != ::getuid() || (made.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
            folder = path + ".XXXXXX";
            if (::mkdtemp(folder.data()) == nullptr) {
                return false;
            }
            folderOfThisStart = true;
        }
    }
    const std::string inner = folder + "/s";
    ::unlink(inner.c_str());
    sockaddr_un innerAddress{};
    const int fd = socketAddress(inner, innerAddress) ? streamSocket() : -1;
    bool ok =
        fd >= 0 &&
        ::bind(fd, reinterpret_cast<const sockaddr*>(&innerAddress), sizeof innerAddress) == 0 &&
        ::chmod(inner.c_str(), S_IRUSR | S_IWUSR) == 0 && ::listen(fd, 8) == 0 &&
        ::rename(inner.c_str(), path.c_str()) == 0;
    const int error = errno;
    ::unlink(inner.c_str());
    if (folderOfThisStart) {
        ::rmdir(folder.c_str());
    }
    if (!ok) {
        if (fd >= 0) {
            ::close(fd);
        }
        errno = error;
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    listenFd_ = fd;
    listening_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(listening_.get(), &QSocketNotifier::activated, this,
            &SingleInstanceGuard::acceptConnections);
    return true;
}

bool SingleInstanceGuard::askRunningCopyToRaise() const {
    sockaddr_un address{};
    if (!socketAddress(QFile::encodeName(key_).toStdString(), address)) {
        return false;
    }
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kConnectPatienceMs) {
        const int fd = streamSocket();
        if (fd < 0) {
            return false;
        }
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            const bool sent =
                writeWithin(fd, kRaiseMessage, sizeof kRaiseMessage - 1, kWritePatienceMs);
            ::close(fd);
            return sent;
        }
        ::close(fd);
        QThread::msleep(50);
    }
    return false;
}

void SingleInstanceGuard::acceptConnections() {
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        auto connection = std::make_unique<Connection>();
        connection->fd = fd;
        connection->readable = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        Connection* added = connection.get();
        connect(added->readable.get(), &QSocketNotifier::activated, this,
                [this, added] { readConnection(added); });
        connections_.push_back(std::move(connection));
        // What came with the connection is read at once.
        readConnection(added);
    }
}

void SingleInstanceGuard::readConnection(Connection* connection) {
    char buffer[256];
    bool closed = false;
    for (;;) {
        const ssize_t n = ::recv(connection->fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            connection->received.append(buffer, n);
            if (connection->received.contains("raise")) {
                connection->received.clear();
                emit raiseRequested();
            } else if (static_cast<std::size_t>(connection->received.size()) > kMessageLimit) {
                connection->received = connection->received.right(kMessageLimit);
            }
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        closed = n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
        break;
    }
    if (closed) {
        // Gone once the event that read it is over.
        connection->readable->setEnabled(false);
        const auto it = std::find_if(connections_.begin(), connections_.end(),
                                     [connection](const auto& c) { return c.get() == connection; });
        if (it != connections_.end()) {
            QMetaObject::invokeMethod(
                this,
                [this, done = it->release()] {
                    delete done;
                    connections_.erase(
                        std::remove(connections_.begin(), connections_.end(), nullptr),
                        connections_.end());
                },
                Qt::QueuedConnection);
        }
    }
}

} // namespace quendal
