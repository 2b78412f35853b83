#include "toolkit/single_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
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

TEST(SingleInstance, SocketIsForItsUserOnly) {
    const QString key = uniqueKey();
    SingleInstanceGuard guard(key);
    ASSERT_TRUE(guard.tryToRun());
    QLocalSocket probe;
    probe.connectToServer(guard.serverName());
    ASSERT_TRUE(probe.waitForConnected(1000));
    const QString path = probe.fullServerName();
    probe.disconnectFromServer();
    const QFile::Permissions perms = QFile::permissions(path);
    EXPECT_FALSE(perms &
                 (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther))
        << path.toStdString();
    EXPECT_TRUE(SingleInstanceGuard::defaultKey().contains(QLatin1Char('-')));
    // Its folder is the user's own.
    const QFileInfo folder(QFileInfo(guard.serverName()).path());
    EXPECT_FALSE(folder.permissions() & (QFile::WriteGroup | QFile::WriteOther));
}
