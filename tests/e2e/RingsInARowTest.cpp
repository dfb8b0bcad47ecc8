#include "sound/SoundAnalysis.h"
#include "support/ExchangeProcess.h"
#include "support/FileUtil.h"
#include "support/QtPrinting.h"
#include "support/RingvaktProcess.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QTime>
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

    // Kari (0212345678) has an eight-second personal sound, which plays at
    // once: the beep is only for callers without one.
    static constexpr int kSoundMs = 8000;
    void giveKariALongSound()
    {
        test::writeFile(ringvakt.dataFile("PhoneBk.dat"), "Hansen\r\nKari\r\n0212345678\r\n");
        QDir(ringvakt.dataDir()).mkpath(QStringLiteral("sound"));
        test::writeFile(ringvakt.dataFile("sound/0212345678.wav"),
                        test::sineWav(440, kSoundMs, 44100, 1, 16).toStdString());
        test::writeFile(ringvakt.settingsFile(), "[V1.51]\nPSOUND=2\nBEEP=3\n");
    }

    ExchangeProcess exchange;
    RingvaktProcess ringvakt;
};

} // namespace

TEST_F(RingsInARowTest, ARingDuringAnotherCallsSoundIsAnsweredAndLoggedAtOnce)
{
    giveKariALongSound();
    ASSERT_TRUE(startBoth());

    const int listening = exchange.countLog(test::kListenRequestLine);
    exchange.ring("0212345678", "7654321");
    ASSERT_TRUE(logged(1));
    // The line handed over: the next registration listens, the one that
    // took the call is gone.
    ASSERT_TRUE(exchange.waitForLogCount(test::kListenRequestLine, listening + 1));
    ASSERT_TRUE(exchange.waitForLogCount(QRegularExpression(" RELEASE appl="), 1));

    // An unknown caller rings while Kari's sound plays: answered and
    // logged before that sound has ended (SDL's disk output grows in real
    // time from its first sample), with the second in which it rang.
    const QTime rang = QTime::currentTime();
    EXPECT_EQ(exchange.ring("555", "7654321"), "ok capi=1 cm=0");
    ASSERT_TRUE(logged(2));
    const QTime seen = QTime::currentTime();
    const qint64 playedMs = qint64(test::readSamples(ringvakt.audioFile()).size()) * 1000 / 44100;
    EXPECT_LT(playedMs, kSoundMs) << "the row waited for the sound before it";
    EXPECT_TRUE(exchange.waitForLogCount(QRegularExpression(" CONNECT_RESP "), 2));
    const QStringList lines =
        QString::fromStdString(test::readFile(ringvakt.dataFile("CallID.dat")))
            .split(QStringLiteral("\r\n"));
    const QTime logged = QTime::fromString(lines.value(5), QStringLiteral("HH:mm:ss"));
    EXPECT_GE(logged, QTime(rang.hour(), rang.minute(), rang.second()))
        << lines.value(5).toStdString();
    EXPECT_LE(logged, seen) << lines.value(5).toStdString();

    // Kari's sound, whole, then the beep for the second call.
    ASSERT_TRUE(RingvaktProcess::waitUntil(
        [&] {
            return test::findBursts(test::readSamples(ringvakt.audioFile()), 44100).size() >= 2;
        },
        30000));
    const auto bursts = test::findBursts(test::readSamples(ringvakt.audioFile()), 44100);
    EXPECT_NEAR(bursts[0].durationMs, kSoundMs, 50);
    EXPECT_NEAR(bursts[1].frequencyHz, 400, 10);
    EXPECT_EQ(ringvakt.terminate(), 0);
    EXPECT_EQ(ringvakt.unexpectedErrors(), "");
}

TEST_F(RingsInARowTest, RingsAtTheInstantOfEachHandOverAreAllLoggedOnceInOrder)
{
    ASSERT_TRUE(startBoth());

    // Twenty calls, each the instant the registration that took the one
    // before is released: only the next one can hear it.
    QStringList expected{"100"};
    for (int i = 1; i <= 20; ++i) {
        const QByteArray caller = QByteArray::number(100 + i);
        ASSERT_TRUE(exchange.ringOn("release", caller, "1").startsWith("ok armed="));
        expected << QString::fromLatin1(caller);
    }
    exchange.ring("100", "1");
    ASSERT_TRUE(logged(21, 60000)) << loggedCallers().join(' ').toStdString() << "\n"
                                   << exchange.logLines().join('\n').toStdString();
    EXPECT_EQ(exchange.countLog(QRegularExpression(" RING_ON_RELEASE result=ok\\\\x20capi=1")), 20)
        << exchange.logLines().join('\n').toStdString();

    // Five calls, each the instant the next registration listens, while the
    // old one still does: told to both, logged once. (Armed once the
    // registration after the last call listens and the one before is gone.)
    ASSERT_TRUE(exchange.waitForLogCount(QRegularExpression(" RELEASE appl="), 21));
    for (int i = 1; i <= 5; ++i) {
        const QByteArray caller = QByteArray::number(200 + i);
        ASSERT_TRUE(exchange.ringOn("listen", caller, "1").startsWith("ok armed="));
        expected << QString::fromLatin1(caller);
    }
    exchange.ring("200", "1");
    expected.insert(21, QStringLiteral("200"));
    ASSERT_TRUE(logged(27, 60000)) << loggedCallers().join(' ').toStdString();
    EXPECT_EQ(exchange.countLog(QRegularExpression(" RING_ON_LISTEN result=ok\\\\x20capi=2")), 5)
        << exchange.logLines().join('\n').toStdString();
    // Every call was answered (a copy told to a registration at the instant
    // it goes may be gone with it); the last ones may still be on their way
    // to the line.
    const auto answeredCalls = [&] {
        QSet<QString> plcis;
        const QRegularExpression plci(QStringLiteral(" CONNECT_RESP .* plci=(\\S+)"));
        for (const QString& line : exchange.logLines()) {
            const QRegularExpressionMatch match = plci.match(line);
            if (match.hasMatch())
                plcis.insert(match.captured(1));
        }
        return plcis.size();
    };
    EXPECT_TRUE(RingvaktProcess::waitUntil([&] { return answeredCalls() == 27; }))
        << answeredCalls();
    EXPECT_EQ(loggedCallers(), expected);
    EXPECT_EQ(ringvakt.terminate(), 0);
    EXPECT_EQ(ringvakt.unexpectedErrors(), "");
}

TEST_F(RingsInARowTest, TheEndStopsASoundAtOnceAndKeepsWhatWasRecorded)
{
    giveKariALongSound();
    ASSERT_TRUE(startBoth());
    exchange.ring("0212345678", "7654321");
    ASSERT_TRUE(logged(1));
    ASSERT_TRUE(RingvaktProcess::waitUntil(
        [&] { return test::readSamples(ringvakt.audioFile()).size() > 44100 / 2; }));

    // SIGTERM while Kari's sound plays: the sound stops, the call stays.
    EXPECT_EQ(ringvakt.terminate(), 0);
    const qint64 playedMs = qint64(test::readSamples(ringvakt.audioFile()).size()) * 1000 / 44100;
    EXPECT_LT(playedMs, kSoundMs) << "the end waited for the sound";
    EXPECT_EQ(loggedCallers(), QStringList{"0212345678"});
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
