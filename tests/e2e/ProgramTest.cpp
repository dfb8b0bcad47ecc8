#include "sound/SoundAnalysis.h"
#include "support/ExchangeProcess.h"
#include "support/FileUtil.h"
#include "support/QtPrinting.h"
#include "support/RingvaktProcess.h"

#include <QDate>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using test::ExchangeProcess;
using test::RingvaktProcess;

namespace {

// The date as the call log writes it: 07-Des-2026.
QString todayInLogForm()
{
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "Mai", "Jun",
                                         "Jul", "Aug", "Sep", "Okt", "Nov", "Des"};
    const QDate d = QDate::currentDate();
    return QStringLiteral("%1-%2-%3")
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(QLatin1String(months[d.month() - 1]))
        .arg(d.year());
}

class ProgramTest : public ::testing::Test
{
protected:
    bool startBoth(const ExchangeProcess::Options& options = {})
    {
        if (!exchange.start(options) || !exchange.writeCapiRc(ringvakt.home()))
            return false;
        return ringvakt.start();
    }

    ExchangeProcess exchange;
    RingvaktProcess ringvakt;
};

} // namespace

TEST_F(ProgramTest, ARingEndsAsALoggedCallAndABeep)
{
    test::writeFile(ringvakt.dataFile("PhoneBk.dat"), "Hansen\r\nKari\r\n0212345678\r\n");
    ASSERT_TRUE(startBoth());
    ASSERT_FALSE(exchange.waitForLog(test::kListenRequestLine).isEmpty());

    EXPECT_EQ(exchange.ring("0212345678", "7654321"), "ok capi=1 cm=0");
    const QString resp = exchange.waitForLog(QRegularExpression(" CONNECT_RESP "));
    EXPECT_TRUE(resp.contains("msgnum=1 plci=0x00000101 reject=1 len=34")) << resp.toStdString();
    // After the call the program registers and listens again.
    EXPECT_TRUE(exchange.waitForLogCount(test::kListenRequestLine, 2));

    const QString log = ringvakt.dataFile("CallID.dat");
    ASSERT_TRUE(RingvaktProcess::waitUntil([&] { return QFile(log).size() > 0; }));
    const QString expected =
        todayInLogForm() + QStringLiteral("\r\n\\d\\d:\\d\\d:\\d\\d\r\n7654321\r\n0212345678\r\n");
    const QString written = QString::fromStdString(test::readFile(log));
    EXPECT_TRUE(QRegularExpression("^" + expected + "$").match(written).hasMatch())
        << written.toStdString();

    // The beep really came out of the sound output: about 400 ms of 400 Hz.
    std::vector<test::Burst> bursts;
    ASSERT_TRUE(RingvaktProcess::waitUntil([&] {
        bursts = test::wholeBursts(ringvakt.audioFile());
        return !bursts.empty();
    }));
    EXPECT_NEAR(bursts[0].frequencyHz, 400, 10);
    EXPECT_NEAR(bursts[0].durationMs, 400, 20);

    EXPECT_EQ(ringvakt.terminate(), 0);
    EXPECT_TRUE(exchange.waitForLog(QRegularExpression(" RELEASE appl=")).size() > 0);
    EXPECT_EQ(ringvakt.unexpectedErrors(), "");
}

TEST_F(ProgramTest, ASecondStartEndsAtOnceAndLeavesTheFirstAlone)
{
    ASSERT_TRUE(startBoth());
    ASSERT_FALSE(exchange.waitForLog(test::kListenRequestLine).isEmpty());
    EXPECT_EQ(ringvakt.runAnother(), 0);
    EXPECT_EQ(exchange.countLog(QRegularExpression(" REGISTER appl=")), 1)
        << "the second start never touched the line";
    EXPECT_TRUE(ringvakt.isRunning());

    // The first one still answers the line.
    exchange.ring("555", "1");
    EXPECT_FALSE(exchange.waitForLog(QRegularExpression(" CONNECT_RESP ")).isEmpty());
    EXPECT_EQ(ringvakt.terminate(), 0);

    // Its lock does not outlive it: the next start runs.
    ASSERT_TRUE(ringvakt.start());
    EXPECT_TRUE(exchange.waitForLogCount(QRegularExpression(" REGISTER appl="), 3));
    EXPECT_EQ(ringvakt.terminate(), 0);
}

TEST_F(ProgramTest, ARefusedListenEndsTheProgramWithItsMessage)
{
    ExchangeProcess::Options options;
    options.listenInfo = 0x0100;
    ASSERT_TRUE(startBoth(options));
    EXPECT_EQ(ringvakt.waitForExit(), 1);
    EXPECT_EQ(ringvakt.messageBoxes(), QStringList{"FEIL\tIngen LISTEN_CONF !"});
}

TEST_F(ProgramTest, NoLineAtAllIsReportedAtStart)
{
    // No .capi20rc and no CAPI device: the install check fails.
    ASSERT_TRUE(ringvakt.start());
    EXPECT_EQ(ringvakt.waitForExit(), 1);
    EXPECT_EQ(ringvakt.messageBoxes(),
              QStringList{"FEIL\tIngen ISDN kort og/eller CAPI 2.0 32-bit driver installert !"});
}
