#include "FakeCapiMessages.h"
#include "LineTestFixture.h"
#include "capi/CapiTexts.h"
#include "capi/LineFrameProbe.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <capi20.h>
#include <unistd.h>

using namespace FakeCapiMessages;

namespace {

// A log line's key=value.
QString logValue(const QString& line, const QString& key)
{
    const auto match = QRegularExpression("\\b" + key + "=(\\S+)").match(line);
    return match.hasMatch() ? match.captured(1) : QString();
}

QString toQString(const Bytes& bytes)
{
    return QString::fromStdString(hex(bytes));
}

} // namespace

TEST_F(LineTestFixture, ListenAndConnectRespOnTheWireThenRegistersAnew)
{
    startLine(2);
    registerAndListen();
    const unsigned firstAppl = listener->link().applId();
    ASSERT_TRUE(pollUntilLogged("LISTEN_REQ", 2));
    const QString listen1 = exchange.waitForLog(QRegularExpression("LISTEN_REQ .*controller=1 "));
    EXPECT_EQ(logValue(listen1, "bytes"),
              "1a00" + hex16(firstAppl) + "058000000100000000000000ff03ff1f000000000000");
    const QString listen2 = exchange.waitForLog(QRegularExpression("LISTEN_REQ .*controller=2 "));
    EXPECT_EQ(logValue(listen2, "msgnum"), "0");
    EXPECT_EQ(logValue(listen2, "cip"), "0x1fff03ff");

    exchange.ring("0212345678", "7654321");
    ASSERT_TRUE(pollUntil([&] { return calls == 1; }));
    EXPECT_EQ(toQString(Bytes(callingAtCall.begin(), callingAtCall.begin() + 13)),
              toQString(callingNumber("0212345678")));
    EXPECT_EQ(toQString(Bytes(calledAtCall.begin(), calledAtCall.begin() + 9)),
              toQString(calledNumber("7654321")));

    const QString ind = exchange.waitForLog(QRegularExpression("SENT .*cmd=CONNECT_IND"));
    const unsigned msgnum = logValue(ind, "msgnum").toUInt();
    const unsigned plci = logValue(ind, "plci").toUInt(nullptr, 16);
    const QString resp = exchange.waitForLog(QRegularExpression("CONNECT_RESP "));
    EXPECT_EQ(logValue(resp, "msgnum").toUInt(), msgnum);
    EXPECT_EQ(logValue(resp, "plci").toUInt(nullptr, 16), plci);
    EXPECT_EQ(logValue(resp, "reject"), "1");
    EXPECT_EQ(logValue(resp, "len"), "34");
    EXPECT_EQ(logValue(resp, "bytes"), "2200" + hex16(firstAppl) + "0283" + hex16(msgnum) +
                                           hex32(plci) +
                                           "0100"
                                           "0a00000000000000000000"
                                           "000000"
                                           "050000000000");

    // Registered again and listening again, then released, all in the same
    // poll.
    EXPECT_EQ(logged("RELEASE appl=" + QString::number(firstAppl)), 1);
    EXPECT_EQ(logged("REGISTER "), 2);
    EXPECT_EQ(logged("LISTEN_REQ appl=" + QString::number(listener->link().applId())), 2);
    EXPECT_NE(listener->link().applId(), firstAppl);
    const QStringList lines = exchange.logLines();
    EXPECT_LT(lines.indexOf(QRegularExpression(".*CONNECT_RESP .*")),
              lines.indexOf(QRegularExpression(".*RELEASE .*")));

    // And the new registration hears the next call.
    exchange.ringAnonymous("7654321");
    ASSERT_TRUE(pollUntil([&] { return calls == 2; }));
    EXPECT_EQ(callingAtCall[0], 0);
    EXPECT_TRUE(fatals.empty());
}

TEST_F(LineTestFixture, OversizedFrameCountsAsALostLine)
{
    startLine();
    registerAndListen();
    exchange.rawBytes("808813"); // 5000 bytes announced
    ASSERT_TRUE(pollUntilLogged("REGISTER ", 2));
    ASSERT_TRUE(pollUntilLogged("LISTEN_REQ ", 2));
    exchange.ring("111", "222");
    ASSERT_TRUE(pollUntil([&] { return calls == 1; }));
    EXPECT_TRUE(fatals.empty());
}

TEST_F(LineTestFixture, UnknownAndMalformedMessagesAreDropped)
{
    startLine();
    registerAndListen();
    exchange.raw("0e00010099820000010000000000"); // 99/82
    exchange.raw("0e00010000000000010000000000"); // 00/00
    exchange.raw("0e00010001820000010000000000"); // 01/82
    exchange.raw("0e00010047820000010000000000"); // 47/82
    exchange.rawBytes("800300010203");            // a frame too short for a message
    exchange.rawBytes("800000");                  // an empty frame
    // A DATA_B3_IND with a short length word and a huge data length: the
    // library would move 65535 bytes within its receive buffer.
    exchange.raw("16000100868201000101000000000000ffff00000000");
    // A CONNECT_IND whose calling number runs past its end.
    exchange.raw("1f000100028201000101000001000481323232ff803131310000000000");
    exchange.ring("0212345678", "7654321");
    ASSERT_TRUE(pollUntil([&] { return calls == 1; }));
    EXPECT_EQ(callingAtCall[0], 12);
    // Nothing was answered but the call, and the line was never taken as
    // lost: one registration before the call, one after.
    EXPECT_EQ(logged("CONNECT_RESP "), 1);
    EXPECT_EQ(logged("REGISTER "), 2);
    EXPECT_TRUE(fatals.empty());
}

TEST_F(LineTestFixture, HalfAFrameWaitsForTheRest)
{
    startLine();
    registerAndListen();
    const Bytes ind =
        connectInd(0x33, 0x201, 1, calledNumber("7654321"), callingNumber("0212345678"));
    Bytes frame = concat({{0x80}, word(std::uint16_t(ind.size())), ind});
    const Bytes firstHalf(frame.begin(), frame.begin() + 20);
    const Bytes secondHalf(frame.begin() + 20, frame.end());

    // Work off the two LISTEN_CONFs so the half frame is next on the socket.
    const int fd = capi20_fileno(listener->link().applId());
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(
        pollUntil([&] { return LineFrameProbe::probe(fd).state == LineFrame::State::Empty; }));
    exchange.rawBytes(toQString(firstHalf));
    ASSERT_TRUE(
        pollUntil([&] { return LineFrameProbe::probe(fd).state == LineFrame::State::Partial; }));
    // Polling now must neither block nor take the half frame.
    for (int i = 0; i < 5; ++i)
        listener->poll();
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(LineFrameProbe::probe(fd).state, LineFrame::State::Partial);

    exchange.rawBytes(toQString(secondHalf));
    ASSERT_TRUE(pollUntil([&] { return calls == 1; }));
    const QString resp = exchange.waitForLog(QRegularExpression("CONNECT_RESP "));
    EXPECT_EQ(logValue(resp, "msgnum"), "51");
    EXPECT_EQ(logValue(resp, "plci"), "0x00000201");
    EXPECT_TRUE(fatals.empty());
}

TEST_F(LineTestFixture, ClosedConnectionRegistersAndListensAgain)
{
    startLine();
    registerAndListen();
    ASSERT_TRUE(pollUntilLogged("LISTEN_REQ ", 1));
    exchange.drop();
    ASSERT_TRUE(pollUntilLogged("REGISTER ", 2));
    ASSERT_TRUE(pollUntilLogged("LISTEN_REQ ", 2));
    exchange.ring("333", "444");
    ASSERT_TRUE(pollUntil([&] { return calls == 1; }));
    EXPECT_TRUE(fatals.empty());
}

TEST_F(LineTestFixture, SilentLineEndsInTheFatalPathInsteadOfAHang)
{
    startLine(1, std::chrono::milliseconds(500));
    registerAndListen();
    exchange.silent(true); // new connections get no answers
    exchange.drop();
    ASSERT_TRUE(pollUntil([&] { return !fatals.empty(); }, 30000));
    EXPECT_EQ(fatals[0], QString::fromUtf8(CapiTexts::kNotRegistered));
}

TEST_F(LineTestFixture, PutOnAClosedLineReturnsAnError)
{
    startLine();
    registerAndListen();
    const int fd = capi20_fileno(listener->link().applId());
    ASSERT_GE(fd, 0);
    exchange.drop();
    QDeadlineTimer deadline(15000);
    while (LineFrameProbe::probe(fd).state != LineFrame::State::Closed) {
        ASSERT_FALSE(deadline.hasExpired());
        // Work off what came before the close (the LISTEN_CONF).
        if (LineFrameProbe::probe(fd).state == LineFrame::State::Whole) {
            const std::uint8_t* bytes = nullptr;
            std::size_t size = 0;
            api->getMessage(listener->link().applId(), &bytes, &size);
        }
        ::usleep(5000);
    }
    // The first write after the close may still go out; a later one meets a
    // closed connection. Without SIGPIPE ignored, that would end the process.
    const Bytes request =
        message(0x05, 0x80, 0, concat({dword(1), dword(0), dword(0), dword(0), {0, 0}}));
    unsigned result = kCapiNoError;
    for (int i = 0; i < 100 && result == kCapiNoError; ++i)
        result = api->putMessage(listener->link().applId(), request.data());
    EXPECT_NE(result, kCapiNoError);
}
