#include "callmonitor/CallMonitorCalls.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

// What the calls of a stretch of call monitor lines came to, as
// "<id> <state> <seconds> <extension>", in the order they ended; the calls
// still open are lost with the connection at the end.
QStringList endsOf(const std::string& lines)
{
    CallMonitorParser parser;
    CallMonitorCalls calls;
    std::vector<LineCallEnd> ends;
    for (const CallMonitorEvent& event : parser.feed(lines)) {
        if (const std::optional<LineCallEnd> end = calls.follow(event))
            ends.push_back(*end);
    }
    for (const LineCallEnd& end : calls.lose())
        ends.push_back(end);
    QStringList texts;
    for (const LineCallEnd& end : ends)
        texts << QStringLiteral("%1 %2 %3 %4")
                     .arg(end.connectionId, QString::fromLatin1(callStateWord(end.state)))
                     .arg(end.seconds)
                     .arg(end.extension)
                     .trimmed();
    return texts;
}

} // namespace

TEST(CallMonitorCalls, EachRingEndsAnsweredMissedOrUnknown)
{
    EXPECT_EQ(endsOf("07.12.26 14:00:00;RING;0;0212345678;7654321;SIP0;\r\n"
                     "07.12.26 14:00:01;RING;1;98765432;7654321;SIP0;\r\n"
                     "07.12.26 14:00:05;CONNECT;0;40;0212345678;\r\n"
                     // Outgoing: its CONNECT and DISCONNECT are no incoming call's.
                     "07.12.26 14:00:06;CALL;2;1;7654321;555;SIP0;\r\n"
                     "07.12.26 14:00:07;CONNECT;2;1;555;\r\n"
                     "07.12.26 14:00:08;DISCONNECT;2;1;\r\n"
                     "07.12.26 14:00:20;DISCONNECT;1;0;\r\n"
                     "07.12.26 14:02:15;DISCONNECT;0;130;\r\n"
                     // The id used again before its call was heard to end.
                     "07.12.26 14:03:00;RING;3;111;7654321;SIP0;\r\n"
                     "07.12.26 14:03:30;RING;3;222;7654321;SIP0;\r\n"
                     // An extension that is no number: taken all the same.
                     "07.12.26 14:03:31;CONNECT;3;SIP1;222;\r\n"
                     "07.12.26 14:04:00;DISCONNECT;3;x;\r\n"
                     "07.12.26 14:05:00;RING;4;333;7654321;SIP0;\r\n"
                     "07.12.26 14:05:01;CONNECT;4;1;333;\r\n"),
              QStringList({"1 missed 0", "0 answered 130 40", "3 unknown 0", "3 answered 0",
                           "4 unknown 0"}));
}
