// The exchange against the real libcapi20 as its client: what the program
// does on a line, step by step.
#include "CapiClient.h"
#include "ExchangeFixture.h"
#include "TcpClient.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QThread>

namespace {

class CapiLibraryTest : public ExchangeFixture
{
protected:
    // The ids the exchange owns, from its status line.
    std::pair<unsigned, unsigned> idRange()
    {
        const QRegularExpressionMatch m =
            QRegularExpression(" ids=(\\d+)-(\\d+)$").match(exchange.status());
        EXPECT_TRUE(m.hasMatch());
        return {m.captured(1).toUInt(), m.captured(2).toUInt()};
    }

    void registerAndListen(CapiClient& client, uint32_t controller = 1)
    {
        ASSERT_EQ(client.isInstalled(), 0u);
        ASSERT_EQ(client.registerAppl(), 0u);
        ASSERT_EQ(client.listen(controller, 0x1FFF03FF), 0u);
        const std::optional<std::string> conf = client.nextMessage();
        ASSERT_TRUE(conf);
        ASSERT_EQ(conf->substr(4, 2), std::string("\x05\x81", 2));
    }
};

std::string word(unsigned value)
{
    return std::string{char(value & 0xff), char((value >> 8) & 0xff)};
}

QString hexWord(unsigned value)
{
    return QString::fromLatin1(QByteArray::fromStdString(word(value)).toHex());
}

TEST_F(CapiLibraryTest, RegistersReportsTheProfileAndConfirmsTheListen)
{
    ASSERT_TRUE(startExchange());
    CapiClient client;
    EXPECT_EQ(client.isInstalled(), 0u);
    exchange.waitForLog(logPattern("conn=1 OPEN peer=127\\.0\\.0\\.1:\\d+$"));

    ASSERT_EQ(client.registerAppl(), 0u);
    const auto [low, high] = idRange();
    EXPECT_GE(client.applId(), low);
    EXPECT_LE(client.applId(), high);
    exchange.waitForLog(
        logPattern(QString(" REGISTER appl=%1 msgnum=1 len=20 ").arg(client.applId())));

    uint16_t controllers = 0;
    EXPECT_EQ(client.profile(controllers), 0u);
    EXPECT_EQ(controllers, 1);

    ASSERT_EQ(client.listen(1, 0x1FFF03FF), 0u);
    const std::optional<std::string> conf = client.nextMessage();
    ASSERT_TRUE(conf);
    EXPECT_EQ(*conf, bytesFromHex("0e 00") + word(client.applId()) +
                         bytesFromHex("05 81 00 00 01 00 00 00 00 00"));
    // Built by concatenation: QString::arg would read "%2058" as "%20".
    exchange.waitForLog(logPattern(
        QString(" LISTEN_REQ appl=%1 msgnum=0 controller=1 infomask=0x00000000 cip=0x1fff03ff "
                "cip2=0x00000000 len=26 bytes=1a00")
            .arg(client.applId()) +
        hexWord(client.applId()) + "058000000100000000000000ff03ff1f000000000000$"));
    EXPECT_TRUE(
        exchange.status().contains(QString(" appl=%1 listen=1:0x1fff03ff ").arg(client.applId())));
}

TEST_F(CapiLibraryTest, ProfileCountsTheControllersAndTheConfirmationCarriesTheGivenInfo)
{
    test::ExchangeProcess::Options options;
    options.controllers = 2;
    options.listenInfo = 0x1234;
    ASSERT_TRUE(startExchange(options));
    CapiClient client;
    ASSERT_EQ(client.isInstalled(), 0u);
    ASSERT_EQ(client.registerAppl(), 0u);
    uint16_t controllers = 0;
    EXPECT_EQ(client.profile(controllers), 0u);
    EXPECT_EQ(controllers, 2);

    for (uint32_t controller = 1; controller <= 2; ++controller) {
        ASSERT_EQ(client.listen(controller, 0x1FFF03FF), 0u);
        const std::optional<std::string> conf = client.nextMessage();
        ASSERT_TRUE(conf);
        EXPECT_EQ(conf->substr(4),
                  bytesFromHex("05 81 00 00") + char(controller) + bytesFromHex("00 00 00 34 12"));
    }
    EXPECT_TRUE(exchange.status().contains("listen=1:0x1fff03ff,2:0x1fff03ff"));
}

TEST_F(CapiLibraryTest, RingDeliversTheIndicationByteForByteAndLogsTheResponse)
{
    ASSERT_TRUE(startExchange());
    CapiClient client;
    registerAndListen(client);

    EXPECT_EQ(exchange.ring("0212345678", "7654321"), "ok capi=1 cm=0");
    std::optional<std::string> ind = client.nextMessage();
    ASSERT_TRUE(ind);
    // The example of the protocol notes, with this exchange's counters
    // (first message, first call) and the registered application id.
    std::string expected = bytesFromHex("2a 00 01 00 02 82 05 00 01 01 00 00 01 00 08 81 37 36 35 "
                                        "34 33 32 31 0c 01 80 30 32 31 32 33 34 35 36 37 38 00 00 "
                                        "00 00 00 00");
    expected.replace(2, 2, word(client.applId()));
    expected.replace(6, 2, word(1));
    EXPECT_EQ(*ind, expected);
    exchange.waitForLog(logPattern(" SENT appl=\\d+ cmd=CONNECT_IND msgnum=1 plci=0x00000101 "
                                   "cip=0x00000001 len=42 "));

    ASSERT_EQ(client.putConnectResp(1, 0x101, 1), 0u);
    exchange.waitForLog(logPattern(QString(" CONNECT_RESP appl=%1 msgnum=1 plci=0x00000101 "
                                           "reject=1 len=34 bytes=2200")
                                       .arg(client.applId())));

    // A caller without a number, an empty called number, another service.
    EXPECT_EQ(exchange.ringAnonymous("", 16), "ok capi=1 cm=0");
    ind = client.nextMessage();
    ASSERT_TRUE(ind);
    EXPECT_EQ(*ind, bytesFromHex("17 00") + word(client.applId()) +
                        bytesFromHex("02 82 02 00 01 02 00 00 10 00 01 81 00 00 00 00 00 00 00"));
}

TEST_F(CapiLibraryTest, OnlyApplicationsListeningOnControllerOneAreRung)
{
    test::ExchangeProcess::Options options;
    options.controllers = 2;
    ASSERT_TRUE(startExchange(options));
    CapiClient client;
    registerAndListen(client, 2);
    EXPECT_EQ(exchange.ring("1", "2"), "ok capi=0 cm=0");

    ASSERT_EQ(client.listen(1, 0x1FFF03FF), 0u);
    ASSERT_TRUE(client.nextMessage());
    EXPECT_EQ(exchange.ring("1", "2"), "ok capi=1 cm=0");
    ASSERT_TRUE(client.nextMessage());

    // A CIP mask of 0 ends the listening.
    ASSERT_EQ(client.listen(1, 0), 0u);
    ASSERT_TRUE(client.nextMessage());
    EXPECT_EQ(exchange.ring("1", "2"), "ok capi=0 cm=0");
    EXPECT_EQ(client.peek(), "");
}

TEST_F(CapiLibraryTest, ReleaseForgetsTheApplicationAndTheNextRegistrationGetsTheNextId)
{
    ASSERT_TRUE(startExchange());
    CapiClient client;
    registerAndListen(client);
    const unsigned first = client.applId();
    EXPECT_EQ(client.release(), 0u);
    exchange.waitForLog(
        logPattern(QString(" RELEASE appl=%1 msgnum=1 len=14 bytes=0e00").arg(first) +
                   hexWord(first) + "20800100020003010000$"));
    exchange.waitForLogCount(logPattern(" CLOSE reason=peer$"), 2);
    EXPECT_TRUE(exchange.status().startsWith("ok registered=0 connections=0 "));
    EXPECT_EQ(exchange.ring("1", "2"), "ok capi=0 cm=0");

    // The full cycle the program runs after each call.
    registerAndListen(client);
    EXPECT_NE(client.applId(), first);
}

TEST_F(CapiLibraryTest, RawAndRawBytesArriveAsSent)
{
    ASSERT_TRUE(startExchange());
    CapiClient client;
    registerAndListen(client);

    // A DISCONNECT_IND with Reason 0x3490.
    const std::string disconnect = bytesFromHex("0e 00") + word(client.applId()) +
                                   bytesFromHex("04 82 07 00 01 01 00 00 90 34");
    const QString hex = QString::fromLatin1(QByteArray::fromStdString(disconnect).toHex());
    EXPECT_EQ(exchange.raw(hex), "ok capi=1");
    EXPECT_EQ(client.nextMessage(), disconnect);

    // Half a frame first, the rest later: the client sees exactly the
    // first part until the second arrives.
    const std::string framed = std::string("\x80\x0e\x00", 3) + disconnect;
    const QString frameHex = QString::fromLatin1(QByteArray::fromStdString(framed).toHex());
    EXPECT_EQ(exchange.rawBytes(frameHex.left(10)), "ok capi=1");
    QDeadlineTimer deadline(5000);
    while (client.peek().size() < 5 && !deadline.hasExpired())
        QThread::msleep(2);
    EXPECT_EQ(client.peek(), framed.substr(0, 5));
    EXPECT_EQ(exchange.rawBytes(frameHex.mid(10)), "ok capi=1");
    EXPECT_EQ(client.nextMessage(), disconnect);

    // A framed message that would overflow the library's buffer is refused.
    EXPECT_TRUE(exchange.raw(QString(2 * 4094, '0')).startsWith("error "));
    EXPECT_EQ(exchange.raw("zz"), "error raw needs the bytes as hex digits, two per byte");
    EXPECT_EQ(client.peek(), "");
}

TEST_F(CapiLibraryTest, DropClosesEveryConnectionAndTheNextRegistrationWorks)
{
    ASSERT_TRUE(startExchange());
    CapiClient client;
    registerAndListen(client);
    EXPECT_EQ(exchange.drop(), "ok capi=2 cm=0");
    EXPECT_TRUE(client.waitForClose());
    EXPECT_EQ(exchange.countLog(logPattern(" CLOSE (appl=\\d+ )?reason=drop$")), 2);
    client.release(); // on a dead line: its result does not matter

    registerAndListen(client);
    EXPECT_EQ(exchange.ring("1", "2"), "ok capi=1 cm=0");
    EXPECT_TRUE(client.nextMessage());
}

TEST_F(CapiLibraryTest, RefuseShutsThePortForTheGivenTimeThenServesAgain)
{
    ASSERT_TRUE(startExchange());
    CapiClient client;
    registerAndListen(client);
    EXPECT_EQ(exchange.refuse(0.5), "ok capi=2 cm=0");
    EXPECT_TRUE(client.waitForClose());
    client.release();

    TcpClient probe;
    EXPECT_FALSE(probe.connectTo(exchange.port())) << "the port must refuse connections";
    EXPECT_TRUE(exchange.status().contains(" refusing=on "));

    exchange.waitForLog(logPattern(" CONTROL cmd=listen port=\\d+ result=ok$"));
    registerAndListen(client);
    EXPECT_EQ(client.release(), 0u);
}

TEST_F(CapiLibraryTest, MuteSilencesTheOpenConnectionsUntilUnmuted)
{
    ASSERT_TRUE(startExchange());
    CapiClient client;
    registerAndListen(client);

    EXPECT_EQ(exchange.mute(true), "ok mute=on capi=2 cm=0");
    EXPECT_EQ(exchange.ring("1", "2"), "ok capi=0 cm=0");
    EXPECT_EQ(client.listen(1, 0x1FFF03FF), 0u);
    exchange.waitForLog(logPattern(" LISTEN_REQ .* ignored=muted$"));
    EXPECT_EQ(exchange.status().contains(" muted=2 "), true);
    EXPECT_EQ(client.peek(), "") << "a muted connection gets nothing";

    EXPECT_EQ(exchange.mute(false), "ok mute=off capi=2 cm=0");
    EXPECT_EQ(exchange.ring("0212345678", "7654321"), "ok capi=1 cm=0");
    const std::optional<std::string> ind = client.nextMessage();
    ASSERT_TRUE(ind);
    EXPECT_EQ(ind->substr(4, 2), std::string("\x02\x82", 2));
}

} // namespace
