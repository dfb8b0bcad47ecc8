#include "sound/SoundAnalysis.h"
#include "support/ExchangeProcess.h"
#include "support/FileUtil.h"
#include "support/QtPrinting.h"
#include "support/RingvaktProcess.h"

#include <QDir>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

using test::ExchangeProcess;
using test::RingvaktProcess;

namespace {

// The program against the simulated line, with calls that come faster than
// it can announce them, and a line that breaks its frames.
class RingsInARowTest : public ::testing::Test
{
protected:
    bool startBoth()
    {
        if (!exchange.start() || !exchange.writeCapiRc(ringvakt.home()))
            return false;
        return ringvakt.start() && !exchange.waitForLog(test::kListenRequestLine).isEmpty();
    }

    QStringList loggedCallers() const { return test::callersIn(ringvakt.dataFile("CallID.dat")); }

    bool logged(int calls, int timeoutMs = 20000)
    {
        return RingvaktProcess::waitUntil([&] { return loggedCallers().size() >= calls; },
                                          timeoutMs);
    }

    bool stderrSays(const QString& text, int from = 0)
    {
        return RingvaktProcess::waitUntil(
            [&] { return ringvakt.standardError().indexOf(text, from) >= 0; });
    }

    ExchangeProcess exchange;
    RingvaktProcess ringvakt;
};

} // namespace

TEST_F(RingsInARowTest, CallsThatRingWhileOthersAreAnnouncedAreAllLoggedInOrder)
{
    // Kari has a five-second personal sound; every call beeps.
    test::writeFile(ringvakt.dataFile("PhoneBk.dat"), "Hansen\r\nKari\r\n0212345678\r\n");
    QDir(ringvakt.dataDir()).mkpath(QStringLiteral("sound"));
    test::writeFile(ringvakt.dataFile("sound/0212345678.wav"),
                    test::sineWav(440, 5000, 44100, 1, 16).toStdString());
    test::writeFile(ringvakt.settingsFile(), "[V1.51]\nPSOUND=2\n");
    ASSERT_TRUE(startBoth());

    // Two rings 30 ms apart: the second comes during the first one's beep.
    exchange.ring("111", "7654321");
    QThread::msleep(30);
    if (exchange.ring("222", "7654321").startsWith("ok capi=0")) {
        // On a loaded machine the line can still be between its two
        // registrations 30 ms on, and the ring reaches no one, as on a real
        // line; it rings again once the line listens.
        ASSERT_TRUE(exchange.waitForLogCount(test::kListenRequestLine, 2));
        ASSERT_EQ(exchange.ring("222", "7654321"), "ok capi=1 cm=0");
    }
    ASSERT_TRUE(logged(2)) << loggedCallers().join(' ').toStdString() << "\n"
                           << ringvakt.standardError().toStdString() << "\n"
                           << exchange.logLines().join('\n').toStdString();

    // Ten rings while Kari's sound plays, once the line listens again.
    const int listening = exchange.countLog(test::kListenRequestLine);
    exchange.ring("0212345678", "7654321");
    ASSERT_TRUE(exchange.waitForLogCount(test::kListenRequestLine, listening + 1));
    QStringList expected{"111", "222", "0212345678"};
    for (int i = 0; i < 10; ++i) {
        const QString caller = QStringLiteral("30%1").arg(i);
        EXPECT_EQ(exchange.ring(caller.toLatin1(), "7654321"), "ok capi=1 cm=0");
        expected << caller;
        QThread::msleep(200);
    }
    ASSERT_TRUE(logged(13, 60000)) << loggedCallers().join(' ').toStdString();
    EXPECT_EQ(loggedCallers(), expected);
    // (The row can be on disk before the line has read the answer.)
    exchange.waitForLogCount(QRegularExpression(" CONNECT_RESP "), 13);
    EXPECT_EQ(exchange.countLog(QRegularExpression(" CONNECT_RESP ")), 13);
    EXPECT_EQ(ringvakt.terminate(), 0);
    EXPECT_EQ(ringvakt.unexpectedErrors(), "");
}

TEST_F(RingsInARowTest, AFrameThatNeverEndsOrDoesNotStartAsOneIsALostLine)
{
    ringvakt.setEnvironmentVariable("RINGVAKT_TEST_LINE_TIMING",
                                    "call=1500,retry=200:400,frame=300,keepalive=1:1:2");
    ASSERT_TRUE(startBoth());

    // A header that announces 4000 bytes, and two of them.
    EXPECT_EQ(exchange.rawBytes("80a00f0102"), "ok capi=1");
    ASSERT_TRUE(stderrSays("line lost"));
    ASSERT_TRUE(stderrSays("line back"));
    const int listening = exchange.countLog(test::kListenRequestLine);
    exchange.ring("111", "1");
    ASSERT_TRUE(logged(1));

    // A byte that starts no frame, once the registration that follows the
    // call listens (the one before it may still be open until then).
    ASSERT_TRUE(exchange.waitForLogCount(test::kListenRequestLine, listening + 1));
    const int seen = ringvakt.standardError().size();
    EXPECT_EQ(exchange.rawBytes("ff"), "ok capi=1");
    ASSERT_TRUE(stderrSays("line lost", seen));
    ASSERT_TRUE(stderrSays("line back", seen));
    exchange.ring("222", "1");
    ASSERT_TRUE(logged(2));
    EXPECT_EQ(loggedCallers(), QStringList({"111", "222"}));
    EXPECT_EQ(ringvakt.terminate(), 0);
}

TEST_F(RingsInARowTest, TheEndNeverWaitsForARegistrationAndSighupEndsNormally)
{
    // A registration that could wait a minute for a silent line.
    ringvakt.setEnvironmentVariable("RINGVAKT_TEST_LINE_TIMING", "call=60000");
    ASSERT_TRUE(startBoth());
    exchange.silent(true);
    exchange.ring("111", "1");
    // The new registration's connections are open and get no answer.
    ASSERT_TRUE(exchange.waitForLogCount(QRegularExpression(" ignored=silent"), 2));
    EXPECT_EQ(ringvakt.terminate(), 0);
    EXPECT_EQ(loggedCallers(), QStringList{"111"});

    // The terminal it was started from closes: the line is left as on any
    // other end.
    exchange.silent(false);
    const int listening = exchange.countLog(test::kListenRequestLine);
    ASSERT_TRUE(ringvakt.start());
    ASSERT_TRUE(exchange.waitForLogCount(test::kListenRequestLine, listening + 1));
    // Running (not starting, when a signal ends it at once): a call is
    // logged and the line listens again.
    exchange.ring("222", "1");
    ASSERT_TRUE(logged(2));
    ASSERT_TRUE(exchange.waitForLogCount(test::kListenRequestLine, listening + 2));
    const int releases = exchange.countLog(QRegularExpression(" RELEASE appl="));
    EXPECT_EQ(ringvakt.endWithSignal(SIGHUP), 0);
    EXPECT_TRUE(exchange.waitForLogCount(QRegularExpression(" RELEASE appl="), releases + 1));
}
