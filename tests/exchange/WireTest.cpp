// The exchange byte by byte, where libcapi20 would hang or crash: silent
// exchanges, garbage, application ids of exchanges side by side.
#include "CapiClient.h"
#include "ExchangeFixture.h"
#include "TcpClient.h"

#include <QRegularExpression>
#include <set>

namespace {

using WireTest = ExchangeFixture;

std::pair<unsigned, unsigned> idRangeOf(test::ExchangeProcess& exchange)
{
    const QRegularExpressionMatch m =
        QRegularExpression(" ids=(\\d+)-(\\d+)$").match(exchange.status());
    EXPECT_TRUE(m.hasMatch());
    return {m.captured(1).toUInt(), m.captured(2).toUInt()};
}

TEST_F(WireTest, RegisterIsAnsweredInOneShortFrame)
{
    ASSERT_TRUE(startExchange());
    TcpClient tcp;
    ASSERT_TRUE(tcp.connectTo(exchange.port()));
    ASSERT_TRUE(tcp.send(TcpClient::registerFrame()));
    const std::string reply = tcp.read(2 + 18);
    ASSERT_EQ(reply.size(), 20u);
    EXPECT_EQ(uint8_t(reply[1]), 18) << "8-bit length of the 2-byte header";
    EXPECT_EQ(reply.substr(2 + 16, 2), std::string(2, '\0')) << "result 0: registered";
    const auto [low, high] = idRangeOf(exchange);
    EXPECT_GE(TcpClient::applIdOfReply(reply), low);
    EXPECT_LE(TcpClient::applIdOfReply(reply), high);
}

TEST_F(WireTest, SilentExchangeAcceptsButAnswersNothingOnNewConnections)
{
    ASSERT_TRUE(startExchange());
    EXPECT_EQ(exchange.silent(true), "ok silent=on");
    TcpClient registration;
    ASSERT_TRUE(registration.connectTo(exchange.port()));
    ASSERT_TRUE(registration.send(TcpClient::registerFrame()));
    TcpClient control;
    ASSERT_TRUE(control.connectTo(exchange.port()));
    ASSERT_TRUE(control.send(bytesFromHex("80 12 00 12 00 00 00 20 80 01 00 02 00 05 02 00 02 00 "
                                          "00 00 00")));
    exchange.waitForLog(logPattern(" REGISTER msgnum=1 len=20 bytes=\\w+ ignored=silent$"));
    exchange.waitForLog(logPattern(" GET_PROFILE msgnum=1 controller=0 .* ignored=silent$"));
    // The exchange handles one event after the other: once the status
    // command is answered, any reply to the two would already be here.
    EXPECT_TRUE(exchange.status().contains(" silent=on "));
    EXPECT_EQ(registration.readAvailable(), "");
    EXPECT_EQ(control.readAvailable(), "");

    EXPECT_EQ(exchange.silent(false), "ok silent=off");
    CapiClient client;
    EXPECT_EQ(client.isInstalled(), 0u);
    EXPECT_EQ(client.registerAppl(), 0u);
    EXPECT_EQ(registration.readAvailable(), "") << "stays silent after silent off";
}

TEST_F(WireTest, GarbageClosesOnlyThatConnection)
{
    ASSERT_TRUE(startExchange());
    TcpClient http;
    ASSERT_TRUE(http.connectTo(exchange.port()));
    ASSERT_TRUE(http.send("GET / HTTP/1.0\r\n\r\n"));
    EXPECT_TRUE(http.waitForClose());
    exchange.waitForLog(logPattern(" BAD reason=frame-start len=18 bytes=474554202f20"));

    TcpClient shortFrame;
    ASSERT_TRUE(shortFrame.connectTo(exchange.port()));
    ASSERT_TRUE(shortFrame.send(bytesFromHex("80 02 00 aa bb")));
    EXPECT_TRUE(shortFrame.waitForClose());
    exchange.waitForLog(logPattern(" BAD reason=frame-length len=5 bytes=800200aabb$"));

    TcpClient half;
    ASSERT_TRUE(half.connectTo(exchange.port()));
    ASSERT_TRUE(half.send(TcpClient::registerFrame().substr(0, 9)));
    exchange.waitForLog(logPattern(" OPEN "));
    half.close();
    exchange.waitForLog(logPattern(" CLOSE reason=peer pending=9$"));

    // An unknown message in a sound frame is logged, not answered, and the
    // connection stays.
    TcpClient odd;
    ASSERT_TRUE(odd.connectTo(exchange.port()));
    ASSERT_TRUE(odd.send(bytesFromHex("80 09 00 0c 00 01 00 99 82 03 00 ff")));
    exchange.waitForLog(logPattern(
        " MESSAGE appl=1 cmd=0x99/0x82 msgnum=3 len=9 bytes=0c00010099820300ff lenword=12$"));

    CapiClient client;
    EXPECT_EQ(client.isInstalled(), 0u);
    EXPECT_EQ(client.registerAppl(), 0u);
}

TEST_F(WireTest, ExchangesSideBySideHandOutDisjointIds)
{
    ASSERT_TRUE(startExchange());
    test::ExchangeProcess second;
    ASSERT_TRUE(second.start());
    const auto range1 = idRangeOf(exchange);
    const auto range2 = idRangeOf(second);
    EXPECT_TRUE(range1.second < range2.first || range2.second < range1.first);

    // Every id of a block, each registration on a connection of its own
    // that stays open; then the block is exhausted.
    std::set<uint16_t> ids1;
    std::set<uint16_t> ids2;
    std::vector<std::unique_ptr<TcpClient>> connections;
    auto registerOn = [&connections](test::ExchangeProcess& ex) {
        connections.push_back(std::make_unique<TcpClient>());
        EXPECT_TRUE(connections.back()->connectTo(ex.port()));
        connections.back()->send(TcpClient::registerFrame());
        return connections.back()->read(20);
    };
    for (unsigned i = range1.first; i <= range1.second; ++i)
        ids1.insert(TcpClient::applIdOfReply(registerOn(exchange)));
    for (unsigned i = range2.first; i <= range2.second; ++i)
        ids2.insert(TcpClient::applIdOfReply(registerOn(second)));
    EXPECT_EQ(ids1.size(), range1.second - range1.first + 1);
    EXPECT_EQ(*ids1.begin(), range1.first);
    EXPECT_EQ(*ids1.rbegin(), range1.second);
    EXPECT_EQ(ids2.size(), range2.second - range2.first + 1);
    EXPECT_EQ(*ids2.begin(), range2.first);

    const std::string full = registerOn(exchange);
    ASSERT_EQ(full.size(), 20u);
    EXPECT_EQ(full.substr(18), bytesFromHex("01 10")) << "too many applications";

    // A released id comes back.
    connections.front()->close();
    exchange.waitForLog(logPattern(QString(" CLOSE appl=%1 reason=peer$").arg(range1.first)));
    EXPECT_EQ(TcpClient::applIdOfReply(registerOn(exchange)), range1.first);
}

TEST_F(WireTest, FirstApplIdOptionCountsUpAndWraps)
{
    test::ExchangeProcess::Options options;
    options.firstApplId = 1022;
    ASSERT_TRUE(startExchange(options));
    std::vector<uint16_t> ids;
    TcpClient a, b, c;
    for (TcpClient* tcp : {&a, &b, &c}) {
        ASSERT_TRUE(tcp->connectTo(exchange.port()));
        tcp->send(TcpClient::registerFrame());
        ids.push_back(TcpClient::applIdOfReply(tcp->read(20)));
    }
    EXPECT_EQ(ids, (std::vector<uint16_t>{1022, 1023, 1}));
}

} // namespace
