// The router's call monitor that the exchange serves beside CAPI.
#include "ExchangeFixture.h"
#include "TcpClient.h"

#include <QRegularExpression>

namespace {

class CallMonitorTest : public ExchangeFixture
{
protected:
    void SetUp() override
    {
        ExchangeFixture::SetUp();
        test::ExchangeProcess::Options options;
        options.callMonitor = true;
        ASSERT_TRUE(startExchange(options));
        ASSERT_NE(exchange.callMonitorPort(), 0);
        ASSERT_TRUE(monitor.connectTo(exchange.callMonitorPort()));
        exchange.waitForLog(logPattern(" CM_OPEN$"));
    }

    std::string readLine()
    {
        std::string line;
        while (line.size() < 2 || line.compare(line.size() - 2, 2, "\r\n") != 0) {
            const std::string byte = monitor.read(1);
            if (byte.empty())
                break;
            line += byte;
        }
        return line;
    }

    TcpClient monitor;
};

TEST_F(CallMonitorTest, RingSendsARingLinePerCall)
{
    EXPECT_EQ(exchange.ring("0212345678", "7654321"), "ok capi=0 cm=1");
    const QString line = QString::fromStdString(readLine());
    EXPECT_TRUE(QRegularExpression("^(\\d\\d)\\.(\\d\\d)\\.(\\d\\d) \\d\\d:\\d\\d:\\d\\d;RING;1;"
                                   "0212345678;7654321;SIP0;\r\n$")
                    .match(line)
                    .hasMatch())
        << line.toStdString();
    exchange.waitForLog(logPattern(" CM_SENT len=51 bytes="));

    EXPECT_EQ(exchange.ringAnonymous("7654321"), "ok capi=0 cm=1");
    const std::string anonymous = readLine();
    EXPECT_NE(anonymous.find(";RING;2;;7654321;SIP0;\r\n"), std::string::npos) << anonymous;
}

TEST_F(CallMonitorTest, RawTextArrivesExactlyAndWhatClientsSendIsIgnored)
{
    ASSERT_TRUE(monitor.send("hello exchange\r\n"));
    const std::string text = std::string("01.02.03 04:05:06;CALL;0;;") + "\x01\xff" + ";;\r\n";
    EXPECT_EQ(exchange.cmRaw(QByteArray::fromStdString(text)), "ok cm=1");
    EXPECT_EQ(monitor.read(text.size()), text);
    // Escapes on the control line end up as the bytes they stand for.
    EXPECT_EQ(exchange.command("cm-raw a\\x20b\\r\\n"), "ok cm=1");
    EXPECT_EQ(monitor.read(5), "a b\r\n");
}

TEST_F(CallMonitorTest, CmDropAndRefuseCloseTheClients)
{
    EXPECT_EQ(exchange.cmDrop(), "ok cm=1");
    EXPECT_TRUE(monitor.waitForClose());
    exchange.waitForLog(logPattern(" CM_CLOSE reason=cm-drop$"));

    ASSERT_TRUE(monitor.connectTo(exchange.callMonitorPort()));
    exchange.waitForLogCount(logPattern(" CM_OPEN$"), 2);
    EXPECT_EQ(exchange.refuse(60), "ok capi=0 cm=1");
    EXPECT_TRUE(monitor.waitForClose());
    EXPECT_FALSE(monitor.connectTo(exchange.callMonitorPort()));
    EXPECT_FALSE(monitor.connectTo(exchange.port()));
}

TEST(CallMonitorOffTest, CmRawWithoutACallMonitorIsAnError)
{
    test::ExchangeProcess exchange;
    ASSERT_TRUE(exchange.start());
    EXPECT_TRUE(exchange.cmRaw("x").startsWith("error no call monitor"));
    EXPECT_EQ(exchange.ring("1", "2"), "ok capi=0 cm=0");
}

} // namespace
