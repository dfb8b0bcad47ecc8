#include "sound/SoundAnalysis.h"
#include "support/ExchangeProcess.h"
#include "support/FileUtil.h"
#include "support/QtPrinting.h"
#include "support/RingvaktProcess.h"

#include <QRegularExpression>
#include <QTcpServer>
#include <gtest/gtest.h>

using test::ExchangeProcess;
using test::RingvaktProcess;

namespace {

// The program on the call monitor of ringvakt-exchange.
class CallMonitorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ringvakt.setEnvironmentVariable("RINGVAKT_TEST_LINE_TIMING",
                                        "call=1500,retry=200:400:800,keepalive=1:1:2");
    }

    bool startExchange()
    {
        ExchangeProcess::Options options;
        options.callMonitor = true;
        return exchange.start(options);
    }

    void writeSettings(const std::string& extra, int port)
    {
        test::writeFile(ringvakt.settingsFile(),
                        "[V1.51]\nLINE=2\nCALLMONITOR_HOST=127.0.0.1\nCALLMONITOR_PORT=" +
                            std::to_string(port) + "\n" + extra);
    }

    // Waits until the call monitor has a client.
    bool monitorConnected(int count = 1)
    {
        return exchange.waitForLogCount(QRegularExpression(" CM_OPEN( |$)"), count);
    }

    QStringList loggedNumbers()
    {
        const QString log = QString::fromStdString(test::readFile(ringvakt.dataFile("CallID.dat")));
        QStringList lines = log.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QStringList numbers;
        for (int i = 2; i + 1 < lines.size(); i += 4)
            numbers << lines[i] + QLatin1Char('>') + lines[i + 1];
        return numbers;
    }

    bool logged(int count)
    {
        return RingvaktProcess::waitUntil([&] { return loggedNumbers().size() >= count; });
    }

    ExchangeProcess exchange;
    RingvaktProcess ringvakt;
};

} // namespace

TEST_F(CallMonitorTest, RingsAreLoggedFilteredAndAnnounced)
{
    ASSERT_TRUE(startExchange());
    test::writeFile(ringvakt.dataFile("PhoneBk.dat"), "Hansen\r\nKari\r\n0212345678\r\n");
    writeSettings("MSN_LOG=1\nMSN_1=7654321\n", exchange.callMonitorPort());
    ASSERT_TRUE(ringvakt.start());
    ASSERT_TRUE(monitorConnected());
    EXPECT_EQ(exchange.countLog(QRegularExpression(" REGISTER ")), 0) << "CAPI is not used";

    exchange.ring("0212345678", "7654321");
    ASSERT_TRUE(logged(1));
    exchange.ring("555", "1111111"); // another MSN: filtered out
    exchange.ringAnonymous("7654321");
    ASSERT_TRUE(logged(2)) << loggedNumbers().join(' ').toStdString() << "\n"
                           << ringvakt.standardError().toStdString() << "\n"
                           << exchange.logLines().join('\n').toStdString();
    EXPECT_EQ(loggedNumbers(), QStringList({"7654321>0212345678", "7654321>Ukjent nummer"}));

    // The beep came out of the sound output.
    std::vector<test::Burst> bursts;
    ASSERT_TRUE(RingvaktProcess::waitUntil([&] {
        bursts = test::findBursts(test::readSamples(ringvakt.audioFile()), 44100);
        return bursts.size() >= 2;
    }));
    EXPECT_NEAR(bursts[0].frequencyHz, 400, 10);

    // A burst of rings in one read is that many calls, in order; what is
    // not understood is dropped without harm.
    exchange.cmRaw("07.12.26 10:00:00;RING;7;111;7654321;SIP0;\r\n"
                   "garbage;;\r\n"
                   "07.12.26 10:00:01;CALL;8;1;7654321;999;SIP0;\r\n"
                   "07.12.26 10:00:02;RING;9;222;7654321;SIP0;\n"
                   "07.12.26 10:00:03;RING;10;333;7654321;SIP0;\r\n");
    ASSERT_TRUE(logged(5));
    EXPECT_EQ(loggedNumbers().mid(2), QStringList({"7654321>111", "7654321>222", "7654321>333"}));
    EXPECT_EQ(ringvakt.terminate(), 0);
    EXPECT_EQ(ringvakt.unexpectedErrors(), "");
}

TEST_F(CallMonitorTest, ADroppedMonitorComesBack)
{
    ASSERT_TRUE(startExchange());
    writeSettings("", exchange.callMonitorPort());
    ASSERT_TRUE(ringvakt.start());
    ASSERT_TRUE(monitorConnected());
    exchange.cmDrop();
    ASSERT_TRUE(
        RingvaktProcess::waitUntil([&] { return ringvakt.standardError().contains("line lost"); }));
    ASSERT_TRUE(monitorConnected(2));
    ASSERT_TRUE(
        RingvaktProcess::waitUntil([&] { return ringvakt.standardError().contains("line back"); }));
    exchange.ring("4711", "1");
    ASSERT_TRUE(logged(1));
    EXPECT_EQ(ringvakt.terminate(), 0);
}

TEST_F(CallMonitorTest, AMonitorThatIsNotSwitchedOnIsNeverFatal)
{
    // A port where nothing listens: refused at once, every time.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const int port = probe.serverPort();
    probe.close();
    writeSettings("", port);
    ASSERT_TRUE(ringvakt.start());
    ASSERT_TRUE(RingvaktProcess::waitUntil([&] {
        return ringvakt.standardError().count("line lost") == 1 &&
               ringvakt.standardError().contains("#96*5*");
    }));
    // The monitor is switched on later: the program, trying all the while,
    // connects, and has told of the refusal only once.
    QTcpServer monitor;
    ASSERT_TRUE(monitor.listen(QHostAddress::LocalHost, quint16(port)));
    ASSERT_TRUE(RingvaktProcess::waitUntil([&] { return monitor.hasPendingConnections(); }));
    ASSERT_TRUE(RingvaktProcess::waitUntil(
        [&] { return ringvakt.standardError().contains("line back"); }));
    EXPECT_EQ(ringvakt.standardError().count("#96*5*"), 1);
    EXPECT_TRUE(ringvakt.messageBoxes().isEmpty());
    EXPECT_EQ(ringvakt.terminate(), 0);
}

TEST_F(CallMonitorTest, SwitchingTheLineInTheSettingsAndRestarting)
{
    ASSERT_TRUE(startExchange());
    ASSERT_TRUE(exchange.writeCapiRc(ringvakt.home()));
    writeSettings("", exchange.callMonitorPort());
    ASSERT_TRUE(ringvakt.start());
    ASSERT_TRUE(monitorConnected());
    exchange.ring("1001", "1");
    ASSERT_TRUE(logged(1));
    EXPECT_EQ(ringvakt.terminate(), 0);

    // Back to CAPI.
    test::writeFile(ringvakt.settingsFile(), "[V1.51]\nLINE=1\n");
    ASSERT_TRUE(ringvakt.start());
    ASSERT_FALSE(exchange.waitForLog(QRegularExpression(" LISTEN_REQ appl=")).isEmpty());
    exchange.ring("1002", "1");
    ASSERT_FALSE(exchange.waitForLog(QRegularExpression(" CONNECT_RESP ")).isEmpty());
    ASSERT_TRUE(logged(2)) << loggedNumbers().join(' ').toStdString() << "\n"
                           << ringvakt.standardError().toStdString() << "\n"
                           << exchange.logLines().join('\n').toStdString();
    EXPECT_EQ(loggedNumbers(), QStringList({"1>1001", "1>1002"}));
    EXPECT_EQ(exchange.countLog(QRegularExpression(" CM_OPEN( |$)")), 1);
    EXPECT_EQ(ringvakt.terminate(), 0);
}
