#include "toolkit/single_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QThread>
#include <QUuid>
#include <gtest/gtest.h>

using namespace quendal;

namespace {

QString uniqueKey() {
    return QStringLiteral("quendal-test-") + QUuid::createUuid().toString(QUuid::Id128);
}

} // namespace

TEST(SingleInstance, SecondGuardAsksTheFirstToRaiseItsWindow) {
    const QString key = uniqueKey();
    SingleInstanceGuard first(key);
    QSignalSpy raised(&first, &SingleInstanceGuard::raiseRequested);
    ASSERT_TRUE(first.tryToRun());
    EXPECT_FALSE(first.alreadyRunning());

    SingleInstanceGuard second(key);
    EXPECT_FALSE(second.tryToRun());
    EXPECT_TRUE(second.alreadyRunning());
    EXPECT_TRUE(raised.wait(3000));
    EXPECT_EQ(raised.count(), 1);

    // The first copy still runs and still answers a third start.
    SingleInstanceGuard third(key);
    EXPECT_FALSE(third.tryToRun());
    EXPECT_TRUE(raised.wait(3000));
}

TEST(SingleInstance, TheNextStartRunsOnceTheFirstHasEnded) {
    const QString key = uniqueKey();
    {
        SingleInstanceGuard first(key);
        ASSERT_TRUE(first.tryToRun());
    }
    SingleInstanceGuard again(key);
    EXPECT_TRUE(again.tryToRun());
}

TEST(SingleInstance, TheSocketIsMadeOnlyInAFolderOfTheUsersOwnAndNothingElseIsLeft) {
    const QString key = uniqueKey();
    const QString socketPath = SingleInstanceGuard(key).serverName();
    const QString made = socketPath + QStringLiteral(".new");
    const QDir runtime = QFileInfo(socketPath).dir();
    const auto leftOver = [&] {
        return runtime.entryList({key + QStringLiteral(".*")},
                                 QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    };
    // A folder of that name that others may write into is not used: what lies in it stays.
    ASSERT_TRUE(QDir().mkpath(made));
    ASSERT_TRUE(QFile::setPermissions(made, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::WriteOther | QFile::ExeOther));
    QFile planted(made + QStringLiteral("/s"));
    ASSERT_TRUE(planted.open(QIODevice::WriteOnly));
    planted.close();
    {
        SingleInstanceGuard first(key);
        ASSERT_TRUE(first.tryToRun());
        SingleInstanceGuard second(key);
        EXPECT_FALSE(second.tryToRun());
        EXPECT_TRUE(second.runningCopyReached());
        EXPECT_TRUE(planted.exists());
    }
    EXPECT_EQ(leftOver(),
              QStringList({key + QStringLiteral(".lock"), key + QStringLiteral(".new")}));
    // Without it the folder is made for the user alone and kept, empty, for the next start.
    ASSERT_TRUE(QDir(made).removeRecursively());
    for (int start = 0; start < 2; ++start) {
        SingleInstanceGuard guard(key);
        ASSERT_TRUE(guard.tryToRun());
        SingleInstanceGuard later(key);
        EXPECT_FALSE(later.tryToRun());
        EXPECT_TRUE(later.runningCopyReached());
    }
    EXPECT_EQ(QFile::permissions(made) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(QDir(made).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System));
    EXPECT_EQ(leftOver(),
              QStringList({key + QStringLiteral(".lock"), key + QStringLiteral(".new")}));
}

TEST(SingleInstance, ALockLeftByACrashedCopyDoesNotBlock) {
    const QString key = uniqueKey();
    SingleInstanceGuard guard(key);
    // A child process takes the lock and dies without releasing it.
    const QString lockPath = guard.serverName() + QStringLiteral(".lock");
    QProcess child;
    child.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"), QStringLiteral("echo $$ > '%1'; echo quendal >> '%1'; "
                                                      "echo >> '%1'")
                                           .arg(lockPath)});
    ASSERT_TRUE(child.waitForFinished(5000));
    ASSERT_TRUE(QFile::exists(lockPath));
    EXPECT_TRUE(guard.tryToRun());
}

TEST(SingleInstance, SocketIsForItsUserOnlyAndHearsARequestThatComesInPieces) {
    const QString key = uniqueKey();
    SingleInstanceGuard guard(key);
    QSignalSpy raised(&guard, &SingleInstanceGuard::raiseRequested);
    ASSERT_TRUE(guard.tryToRun());
    // A client of Qt's own, which sends nothing at first, then the request in two writes.
    QLocalSocket probe;
    probe.connectToServer(guard.serverName());
    ASSERT_TRUE(probe.waitForConnected(1000));
    const QString path = probe.fullServerName();
    QCoreApplication::processEvents();
    probe.write("ra");
    ASSERT_TRUE(probe.waitForBytesWritten(1000));
    EXPECT_FALSE(raised.wait(200));
    probe.write("ise\n");
    ASSERT_TRUE(probe.waitForBytesWritten(1000));
    EXPECT_TRUE(raised.wait(3000));
    EXPECT_EQ(raised.count(), 1);
    probe.disconnectFromServer();
    // A later copy still gets through after that client has gone.
    SingleInstanceGuard second(key);
    EXPECT_FALSE(second.tryToRun());
    EXPECT_TRUE(second.runningCopyReached());
    EXPECT_TRUE(raised.wait(3000));
    const QFile::Permissions perms = QFile::permissions(path);
    EXPECT_FALSE(perms &
                 (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther))
        << path.toStdString();
    EXPECT_TRUE(SingleInstanceGuard::defaultKey().contains(QLatin1Char('-')));
    // Its folder is the user's own.
    const QFileInfo folder(QFileInfo(guard.serverName()).path());
    EXPECT_FALSE(folder.permissions() & (QFile::WriteGroup | QFile::WriteOther));
}

TEST(SingleInstance, ALockFileThatNamesNoProcessIsStaleButOneHeldByALiveCopyIsNot) {
    const QString key = uniqueKey();
    SingleInstanceGuard probe(key);
    const QString lockPath = probe.serverName() + QStringLiteral(".lock");
    // Left empty or garbled by a copy that died while writing it, or by a broken disk.
    // The copy that takes it over says who holds it now, and nothing of the old text is left.
    const QByteArray holder = QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                              QFile::encodeName(QCoreApplication::applicationName()) + '\n';
    for (const QByteArray& left :
         {QByteArray(), QByteArray("\x01\xff garbage\n", 11), QByteArray(300, 'x')}) {
        QFile file(lockPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(left);
        file.close();
        SingleInstanceGuard guard(key);
        EXPECT_TRUE(guard.tryToRun()) << left.size();
        EXPECT_FALSE(guard.alreadyRunning());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), holder) << left.size();
        file.close();
    }

    // A running copy whose lock file reads empty (as in the moment it is written) keeps it.
    SingleInstanceGuard first(key);
    ASSERT_TRUE(first.tryToRun());
    ASSERT_TRUE(QFile(lockPath).resize(0));
    SingleInstanceGuard second(key);
    EXPECT_FALSE(second.tryToRun());
    EXPECT_TRUE(second.runningCopyReached());
    EXPECT_TRUE(QFile::exists(lockPath));
}

TEST(SingleInstance, ACopyThatHoldsTheLockButDoesNotAnswerIsReportedAsUnreached) {
    const QString key = uniqueKey();
    SingleInstanceGuard guard(key);
    const QString lockPath = guard.serverName() + QStringLiteral(".lock");
    // Another process holds the lock file locked, empty, and listens nowhere.
    QProcess holder;
    holder.start(QStringLiteral("flock"),
                 {QStringLiteral("-x"), lockPath, QStringLiteral("sleep"), QStringLiteral("30")});
    ASSERT_TRUE(holder.waitForStarted(5000));
    for (int i = 0; i < 100 && !QFile::exists(lockPath); ++i) {
        QThread::msleep(20);
    }
    QThread::msleep(200); // the lock is taken right after the file is made
    EXPECT_FALSE(guard.tryToRun());
    EXPECT_TRUE(guard.alreadyRunning());
    EXPECT_FALSE(guard.runningCopyReached());
    holder.kill();
    holder.waitForFinished(5000);
}

TEST(SingleInstance, WhereNoLockCanBeMadeTheCopyRunsAlone) {
    const QString blocker = uniqueKey();
    SingleInstanceGuard probe(blocker);
    // A file stands where the lock's folder would be.
    QFile file(probe.serverName());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    SingleInstanceGuard guard(blocker + QStringLiteral("/inner"));
    EXPECT_TRUE(guard.tryToRun());
    EXPECT_FALSE(guard.alreadyRunning());
    QFile::remove(probe.serverName());
}
