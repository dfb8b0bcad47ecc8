#include "support/ExchangeProcess.h"
#include "support/FileUtil.h"
#include "support/QtPrinting.h"
#include "support/RingvaktProcess.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <sys/stat.h>

using test::ExchangeProcess;
using test::RingvaktProcess;

TEST(OddFilesTest, FifosInPlaceOfTheDataFilesNeverHoldTheProgram)
{
    ExchangeProcess exchange;
    RingvaktProcess ringvakt;
    for (const char* name : {"CallID.dat", "PhoneBk.dat"})
        ASSERT_EQ(mkfifo(QFile::encodeName(ringvakt.dataFile(name)).constData(), 0600), 0);
    ASSERT_TRUE(exchange.start() && exchange.writeCapiRc(ringvakt.home()));
    ASSERT_TRUE(ringvakt.start());
    ASSERT_FALSE(exchange.waitForLog(test::kListenRequestLine).isEmpty());

    // The call is answered and kept in memory; the save that cannot be is
    // said, and the FIFO is left as it was.
    exchange.ring("555", "1");
    EXPECT_TRUE(RingvaktProcess::waitUntil(
        [&] { return ringvakt.standardError().contains("could not write"); }));
    EXPECT_TRUE(QFileInfo(ringvakt.dataFile("CallID.dat")).exists());
    EXPECT_FALSE(QFileInfo(ringvakt.dataFile("CallID.dat")).isFile());
    EXPECT_EQ(ringvakt.terminate(), 0);
}

TEST(OddFilesTest, ALockThatCannotBeHadIsSaidAndAnAbandonedOneIsTakenOver)
{
    RingvaktProcess ringvakt;
    const QString run = ringvakt.home() + QStringLiteral("/run");

    // A directory where the lock should be: exit code 2, and why.
    ASSERT_TRUE(QDir(run).mkdir(QStringLiteral("ringvakt.lock")));
    const RingvaktProcess::Run refused = ringvakt.runOnce({});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains("ringvakt.lock")) << refused.err.toStdString();

    // An empty lock left by a crash a minute ago: the program starts. Saves
    // that a kill interrupted are cleared away, and that is said.
    ASSERT_TRUE(QDir(run).rmdir(QStringLiteral("ringvakt.lock")));
    QFile lock(run + QStringLiteral("/ringvakt.lock"));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                 QFileDevice::FileModificationTime));
    lock.close();
    test::writeFile(ringvakt.dataFile("CallID.dat.k1LLed"), "half a save");
    ExchangeProcess exchange;
    ASSERT_TRUE(exchange.start() && exchange.writeCapiRc(ringvakt.home()));
    ASSERT_TRUE(ringvakt.start());
    ASSERT_FALSE(exchange.waitForLog(test::kListenRequestLine).isEmpty());
    EXPECT_TRUE(RingvaktProcess::waitUntil(
        [&] { return ringvakt.standardError().contains("removed 1 temporary file"); }));
    EXPECT_FALSE(QFileInfo::exists(ringvakt.dataFile("CallID.dat.k1LLed")));
    EXPECT_EQ(ringvakt.terminate(), 0);
}
