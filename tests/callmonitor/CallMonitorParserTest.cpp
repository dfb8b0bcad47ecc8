#include "callmonitor/CallMonitorParser.h"

#include "calls/CallNumbers.h"
#include "line/LineCall.h"

#include <gtest/gtest.h>

using Kind = CallMonitorEvent::Kind;

namespace {

std::vector<CallMonitorEvent> parseAll(const std::string& bytes)
{
    CallMonitorParser parser;
    return parser.feed(bytes);
}

// The numbers call processing takes from a RING's structs.
CallNumbers numbersOf(const CallMonitorEvent& e)
{
    const LineCall call = LineCall::fromTextNumbers(e.caller, e.called);
    QByteArray calling = call.callingNumber.leftJustified(208, '\0');
    QByteArray called = call.calledNumber.leftJustified(208, '\0');
    return ExtractCallNumbers(reinterpret_cast<const uint8_t*>(calling.constData()),
                              reinterpret_cast<const uint8_t*>(called.constData()), 208);
}

} // namespace

TEST(CallMonitorParser, EveryKindOfEvent)
{
    const auto events = parseAll("07.12.26 14:05:03;RING;0;0212345678;7654321;SIP0;\r\n"
                                 "07.12.26 14:06:00;CALL;1;4;7654321;98765432;SIP1;\r\n"
                                 "07.12.26 14:06:10;CONNECT;1;4;98765432;\r\n"
                                 "07.12.26 14:07:10;DISCONNECT;1;60;\r\n");
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].kind, Kind::Ring);
    EXPECT_EQ(events[0].date, "07.12.26 14:05:03");
    EXPECT_EQ(events[0].connectionId, "0");
    EXPECT_EQ(events[0].caller, "0212345678");
    EXPECT_EQ(events[0].called, "7654321");
    EXPECT_EQ(events[1].kind, Kind::Call);
    EXPECT_EQ(events[2].kind, Kind::Connect);
    EXPECT_EQ(events[3].kind, Kind::Disconnect);
}

TEST(CallMonitorParser, RingBecomesTheNumbersOfACall)
{
    auto events = parseAll("07.12.26 14:05:03;RING;0;0212345678;7654321;SIP0;\n");
    ASSERT_EQ(events.size(), 1u);
    CallNumbers n = numbersOf(events[0]);
    EXPECT_EQ(n.callerNumber, "0212345678");
    EXPECT_EQ(n.msn, "7654321");
    EXPECT_TRUE(n.numberDelivered);
    EXPECT_EQ(LineCall::fromTextNumbers(events[0].caller, events[0].called).callingNumber,
              QByteArray("\x0c\x01\x80"
                         "0212345678"));

    // No caller: no number delivered, exactly as an empty CAPI struct.
    events = parseAll("07.12.26 14:05:03;RING;1;;7654321;SIP0;\n");
    ASSERT_EQ(events.size(), 1u);
    n = numbersOf(events[0]);
    EXPECT_EQ(n.callerNumber, "Ukjent nummer");
    EXPECT_FALSE(n.numberDelivered);
    EXPECT_EQ(n.msn, "7654321");

    events = parseAll("07.12.26 14:05:03;RING;2;555;;SIP0;\n");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(numbersOf(events[0]).msn, "Ukjent nummer");
}

TEST(CallMonitorParser, LineEndsAndPieces)
{
    CallMonitorParser parser;
    // A line split across reads waits for its end, CR LF or LF.
    EXPECT_TRUE(parser.feed("07.12.26 14:05:03;RI").empty());
    EXPECT_TRUE(parser.feed("NG;0;123;456;SIP0;\r").empty());
    auto events = parser.feed("\n07.12.26 14:05:04;RING;1;789;456;SIP0;");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].caller, "123");
    events = parser.feed("\n");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].caller, "789");

    // Several lines in one read come out in order; a missing final ';' is
    // forgiven.
    events = parser.feed("07.12.26 14:05:05;RING;2;1;9;SIP0\n07.12.26 14:05:06;RING;3;2;9;SIP0;\n"
                         "07.12.26 14:05:07;RING;4;3;9;SIP0;\n");
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].caller + events[1].caller + events[2].caller, "123");
    EXPECT_EQ(parser.dropped(), 0);
}

TEST(CallMonitorParser, LinesThatAreNotUnderstoodAreDropped)
{
    CallMonitorParser parser;
    const std::string bad[] = {
        "07.12.26 14:05:03;RING;0;123\n",              // too few fields
        "07.12.26 14:05:03;RINGING;0;123;456;SIP0;\n", // unknown event
        "7.12.26 14:05:03;RING;0;123;456;SIP0;\n",     // broken date
        "07.12.26 14:05:03;RING;x;123;456;SIP0;\n",    // connection id not a number
        "07.12.26 14:05:03;RING;0;12\x01"
        "3;456;SIP0;\n",                             // not text
        "07.12.26 14:05:03;RING;0;../x;456;SIP0;\n", // not a telephone number
        "07.12.26 14:05:03;DISCONNECT;0\n",
        "garbage\n",
        std::string("07.12.26 14:05:03;RING;0;123;456;\0SIP0;\n", 41),
    };
    for (const std::string& line : bad)
        EXPECT_TRUE(parser.feed(line).empty()) << line;
    EXPECT_EQ(parser.dropped(), int(std::size(bad)));

    // A line longer than 1 KiB, even in pieces, is dropped whole; the next
    // line is read again.
    const std::string longCaller(1100, '1');
    EXPECT_TRUE(parser.feed("07.12.26 14:05:03;RING;0;" + longCaller.substr(0, 600)).empty());
    EXPECT_TRUE(parser.feed(longCaller.substr(600) + ";456;SIP0;\n").empty());
    EXPECT_TRUE(parser.feed(std::string(130, '9') + "\n").empty());
    const auto events = parser.feed("07.12.26 14:05:03;RING;1;42;456;SIP0;\n");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].caller, "42");

    // A number too long for a struct is not a telephone number either.
    EXPECT_TRUE(
        parseAll("07.12.26 14:05:03;RING;0;" + std::string(126, '1') + ";456;SIP0;\n").empty());
    EXPECT_EQ(parseAll("07.12.26 14:05:03;RING;0;" + std::string(125, '1') + ";456;SIP0;\n").size(),
              1u);
}

TEST(CallMonitorParser, ResetForgetsAPartialLine)
{
    CallMonitorParser parser;
    EXPECT_TRUE(parser.feed("07.12.26 14:05:03;RING;0;1").empty());
    parser.reset();
    const auto events = parser.feed("07.12.26 14:05:03;RING;0;2;3;SIP0;\n");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].caller, "2");
}
