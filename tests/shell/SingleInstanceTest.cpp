#include "shell/SingleInstance.h"

#include "support/TempDataDir.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using Result = SingleInstance::Result;

namespace {

void writeLock(const QString& path, const QByteArray& bytes, int secondsAgo)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    ASSERT_TRUE(file.flush());
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-secondsAgo),
                                 QFileDevice::FileModificationTime));
}

} // namespace

TEST(SingleInstance, ALockNobodyFinishedWritingIsTakenOverAndOtherFailuresAreSaid)
{
    test::TempDataDir dir;
    QDir(dir.path()).mkdir("run");
    const QString path = dir.file("run/ringvakt.lock");

    // Empty, as a crash right after creating it leaves it: taken once it is
    // older than a starting instance needs to write it.
    writeLock(path, "", 60);
    SingleInstance first(path);
    ASSERT_EQ(first.acquire(), Result::Acquired);
    // A live holder keeps it.
    SingleInstance second(path);
    EXPECT_EQ(second.acquire(), Result::HeldByOther);
    first.release();

    // Garbage: a fresh one may be an instance starting now; an old one is not.
    writeLock(path, "\x01\x02 not a lock", 0);
    EXPECT_EQ(second.acquire(), Result::HeldByOther);
    writeLock(path, "\x01\x02 not a lock", 60);
    EXPECT_EQ(second.acquire(), Result::Acquired);
    second.release();

    // A directory in the lock's place, or a runtime directory that cannot be
    // made: never taken for another instance, and said.
    ASSERT_TRUE(QDir(dir.path()).mkpath("run/ringvakt.lock"));
    SingleInstance blocked(path);
    EXPECT_EQ(blocked.acquire(), Result::Failed);
    EXPECT_TRUE(blocked.error().contains(path)) << blocked.error().toStdString();
    dir.write("file", "a file where the runtime directory should be");
    SingleInstance nowhere(dir.file("file/ringvakt.lock"));
    EXPECT_EQ(nowhere.acquire(), Result::Failed);
    EXPECT_FALSE(nowhere.error().isEmpty());
}
