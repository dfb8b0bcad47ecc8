#include "sharing/MqttLine.h"

#include "SharingTestSetup.h"
#include "calls/CallNumbers.h"
#include "sharing/CallPublisher.h"
#include "support/QtPrinting.h"

#include <QTest>
#include <gtest/gtest.h>

using test::MosquittoBroker;

namespace {

// The calls a line hands on, as call processing reads their numbers:
// "<msn> <caller>".
class HandledCalls
{
public:
    explicit HandledCalls(Line& line)
    {
        QObject::connect(&line, &Line::callsWaiting, &line, &Line::poll);
        QObject::connect(&line, &Line::incomingCall, [this](const LineCall& call) {
            const QByteArray a = call.callingNumber.leftJustified(200, '\0');
            const QByteArray b = call.calledNumber.leftJustified(200, '\0');
            const CallNumbers n =
                ExtractCallNumbers(reinterpret_cast<const uint8_t*>(a.constData()),
                                   reinterpret_cast<const uint8_t*>(b.constData()), 200);
            calls << QString::fromStdString(n.msn + " " + n.callerNumber);
        });
    }
    bool waitFor(int count) const
    {
        return QTest::qWaitFor([&] { return calls.size() >= count; });
    }
    QStringList calls;
};

} // namespace

TEST(MqttLine, HandlesCallsOfOtherDesktopsAndIgnoresTheRest)
{
    MosquittoBroker broker;
    ASSERT_TRUE(broker.start());
    // The last call of some desktop, kept from before the line started.
    ASSERT_TRUE(
        broker.publish("ringvakt/gammel/call", test::callMessage("gammel", "111").toJson(), true));

    test::Reports reports;
    MqttLine line(test::configFor(broker, "stue"), test::quickTiming());
    line.setReport(reports.sink());
    HandledCalls handled(line);
    EXPECT_EQ(line.displayName(), "MQTT 127.0.0.1:" + QString::number(broker.port()));
    ASSERT_TRUE(line.startUp());
    ASSERT_TRUE(QTest::qWaitFor([&] { return line.isReady(); }));

    // A ring on another desktop.
    CallPublisher kontor(test::configFor(broker, "kontor"), test::quickTiming());
    kontor.start();
    const CallMessage ring = test::callMessage("kontor", "0212345678");
    kontor.publish(ring);
    ASSERT_TRUE(handled.waitFor(1));
    EXPECT_EQ(handled.calls, QStringList{"7654321 0212345678"}) << "not the old retained call";
    // The same message again, as after a lost acknowledgement: the same call.
    ASSERT_TRUE(broker.publish("ringvakt/kontor/call", ring.toJson()));

    // This desktop's own call, published by its publisher: handled from
    // its own line already.
    CallPublisher own(test::configFor(broker, "stue"), test::quickTiming());
    own.start();
    own.publish(test::callMessage("stue", "222"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return own.waiting() == 0; }));

    // Messages that are no call: one report each, and the next good one is
    // handled.
    const QString topic = "ringvakt/kontor/call";
    ASSERT_TRUE(broker.publish(topic, "ring ring"));
    ASSERT_TRUE(broker.publish(topic, R"({"msn":"7654321"})"));
    ASSERT_TRUE(broker.publish(topic, R"({"number":"0212;rm -rf /","msn":"7654321"})"));
    ASSERT_TRUE(broker.publish(topic, R"({"number":"1","name":")" + QByteArray(5000, 'x') + "\"}"));
    ASSERT_TRUE(broker.publish(topic, R"({"number":"","msn":"7654321"})"));
    ASSERT_TRUE(handled.waitFor(2));
    EXPECT_EQ(handled.calls, QStringList({"7654321 0212345678", "7654321 Ukjent nummer"}));
    EXPECT_EQ(line.refusedMessages(), 4);
    const QStringList ignored = reports.lines.filter("is ignored");
    ASSERT_EQ(ignored.size(), 4) << test::text(reports.lines);
    EXPECT_TRUE(ignored[0].contains("not valid JSON"));
    EXPECT_TRUE(ignored[1].contains("no number"));
    EXPECT_TRUE(ignored[2].contains("not a telephone number"));
    EXPECT_TRUE(ignored[3].contains("larger than 4096"));
    EXPECT_EQ(reports.lines.size(), 4) << test::text(reports.lines);
}

TEST(MqttLine, ABrokerAwayIsALostLineThatComesBack)
{
    MosquittoBroker broker;
    MosquittoBroker::Options options;
    options.persistence = true; // the last call is still there after the restart
    ASSERT_TRUE(broker.start(options));
    test::Reports reports;
    SharingConfig config = test::configFor(broker, "stue");
    config.hostFilter = "kontor";
    MqttLine line(config, test::quickTiming());
    line.setReport(reports.sink());
    HandledCalls handled(line);
    int stateChanges = 0;
    QObject::connect(&line, &Line::stateChanged, [&] { ++stateChanges; });
    line.startUp();
    ASSERT_TRUE(QTest::qWaitFor([&] { return line.isReady(); }));
    // Without a moment, so that only its being kept from before tells it.
    ASSERT_TRUE(broker.publish("ringvakt/kontor/call", R"({"number":"1","msn":"7654321"})", true));
    ASSERT_TRUE(handled.waitFor(1));

    broker.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return line.isLineLost(); }));
    EXPECT_TRUE(line.lostAt().isValid());
    EXPECT_GE(stateChanges, 1);
    ASSERT_TRUE(broker.restart());
    ASSERT_TRUE(QTest::qWaitFor([&] { return line.isReady(); }, 20000));
    EXPECT_FALSE(line.isLineLost());

    // The call kept on the broker from before is not announced again, and
    // the host filter leaves out other desktops.
    ASSERT_TRUE(broker.publish("ringvakt/loftet/call", test::callMessage("loftet", "3").toJson()));
    ASSERT_TRUE(broker.publish("ringvakt/kontor/call", test::callMessage("kontor", "2").toJson()));
    ASSERT_TRUE(handled.waitFor(2));
    EXPECT_EQ(handled.calls, QStringList({"7654321 1", "7654321 2"}));
    EXPECT_EQ(reports.count("line lost"), 1) << test::text(reports.lines);
    EXPECT_EQ(reports.count("line back"), 1) << test::text(reports.lines);
    EXPECT_EQ(reports.lines.size(), 2) << test::text(reports.lines);

    line.switchOff();
    EXPECT_FALSE(line.isLineLost());
}
