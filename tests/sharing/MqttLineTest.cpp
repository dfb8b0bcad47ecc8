#include "sharing/MqttLine.h"

#include "SharingTestSetup.h"
#include "calls/CallNumbers.h"
#include "sharing/CallPublisher.h"
#include "support/FakeClock.h"
#include "support/FakeRetryTimers.h"
#include "support/QtPrinting.h"

#include <QTest>
#include <gtest/gtest.h>

using test::MosquittoBroker;

namespace {

// The calls a line hands on, as call processing reads their numbers:
// "<msn> <caller>". Woken as the program wakes it, from the event loop,
// unless the test does it.
class HandledCalls
{
public:
    explicit HandledCalls(Line& line, bool wake = true)
    {
        if (wake)
            QObject::connect(&line, &Line::callsWaiting, &line, &Line::poll, Qt::QueuedConnection);
        QObject::connect(&line, &Line::incomingCall, [this](const LineCall& call) {
            const QByteArray a = call.callingNumber.leftJustified(200, '\0');
            const QByteArray b = call.calledNumber.leftJustified(200, '\0');
            const CallNumbers n =
                ExtractCallNumbers(reinterpret_cast<const uint8_t*>(a.constData()),
                                   reinterpret_cast<const uint8_t*>(b.constData()), 200);
            calls << QString::fromStdString(n.msn + " " + n.callerNumber);
            received.push_back(call);
        });
    }
    bool waitFor(int count) const
    {
        return QTest::qWaitFor([&] { return calls.size() >= count; });
    }
    QStringList calls;
    std::vector<LineCall> received;
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
    test::FakeRetryTimers timers;
    LineTiming timing = test::quickTiming();
    timing.retryTimers = &timers;
    MqttLine line(test::configFor(broker, "stue"), timing);
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
    // The same call again, as after a lost acknowledgement, even in other
    // words: the same call. Another call in the same second, alike in all
    // but its id: a call of its own.
    ASSERT_TRUE(broker.publish("ringvakt/kontor/call", ring.toJson()));
    CallMessage again = ring;
    again.name = "Kari";
    ASSERT_TRUE(broker.publish("ringvakt/kontor/call", again.toJson()));
    CallMessage twin = ring;
    twin.id = "2";
    kontor.publish(twin);

    // This desktop's own call, published by its publisher: handled from
    // its own line already.
    CallPublisher own(test::configFor(broker, "stue"), test::quickTiming());
    own.start();
    own.publish(test::callMessage("stue", "222"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return own.waiting() == 0; }));

    // Messages that are no call: the first reported at once, the rest
    // counted for a minute; the next good one is handled.
    const QString topic = "ringvakt/kontor/call";
    ASSERT_TRUE(broker.publish(topic, "ring ring"));
    ASSERT_TRUE(broker.publish(topic, R"({"msn":"7654321"})"));
    ASSERT_TRUE(broker.publish(topic, R"({"number":"0212;rm -rf /","msn":"7654321"})"));
    ASSERT_TRUE(broker.publish(topic, R"({"number":"1","name":")" + QByteArray(5000, 'x') + "\"}"));
    ASSERT_TRUE(broker.publish(topic, R"({"number":"","msn":"7654321"})"));
    ASSERT_TRUE(handled.waitFor(3));
    EXPECT_EQ(handled.calls,
              QStringList({"7654321 0212345678", "7654321 0212345678", "7654321 Ukjent nummer"}));
    EXPECT_EQ(line.refusedMessages(), 4);
    EXPECT_EQ(reports.lines, QStringList{"a call message on ringvakt/kontor/call is ignored: not "
                                         "valid JSON (illegal value)"});
    timers.advance(60 * 1000);
    ASSERT_EQ(reports.lines.size(), 2) << test::text(reports.lines);
    EXPECT_EQ(reports.lines[1], "3 more call message(s) ignored since; the last on "
                                "ringvakt/kontor/call: larger than 4096 bytes (5024)");
    // A quiet minute: the next is reported at once.
    timers.advance(60 * 1000);
    ASSERT_TRUE(broker.publish(topic, "ring"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return reports.lines.size() == 3; }));
}

TEST(MqttLine, CallsAreHandedOnOneAWakeBoundedAndTimedByTheirMessages)
{
    MosquittoBroker broker;
    ASSERT_TRUE(broker.start());
    test::Reports reports;
    test::FakeClock clock;
    const QDateTime now = clock.now().toDateTime();
    MqttLine line(test::configFor(broker, "stue"), test::quickTiming());
    line.setReport(reports.sink());
    line.setClock(clock);
    HandledCalls handled(line, false);
    int wakes = 0;
    QObject::connect(&line, &Line::callsWaiting, [&] { ++wakes; });
    line.startUp();
    ASSERT_TRUE(QTest::qWaitFor([&] { return line.isReady(); }));

    // Calls of a moment ago, of ten minutes ago (recorded, not announced),
    // of three days ago and of five minutes ahead (both at their arrival;
    // the old one not announced), and one without a time.
    QByteArrayList messages;
    for (const qint64 secondsAgo : {30, 600, 3 * 24 * 3600, -300}) {
        CallMessage call = test::callMessage("kontor", QString::number(500000 + secondsAgo));
        call.time = now.addSecs(-secondsAgo);
        messages << call.toJson();
    }
    messages << R"({"number":"1","msn":"7654321"})";
    ASSERT_TRUE(broker.publishLines("ringvakt/kontor/call", messages));
    ASSERT_TRUE(QTest::qWaitFor([&] { return line.waiting() == 5; }));
    for (int i = 0; i < 5; ++i)
        line.poll();
    ASSERT_EQ(handled.received.size(), 5u);
    const std::vector<std::pair<QDateTime, bool>> expected{{now.addSecs(-30), true},
                                                           {now.addSecs(-600), false},
                                                           {QDateTime(), false},
                                                           {QDateTime(), true},
                                                           {QDateTime(), true}};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(handled.received[i].rangAt, expected[i].first) << i;
        EXPECT_EQ(handled.received[i].announce, expected[i].second) << i;
    }

    // A flood: the last hundred wait, handed on one a wake, in order, and
    // what went is told once.
    messages.clear();
    for (int i = 0; i < 3 * MqttLine::kMaxWaiting / 2; ++i)
        messages << test::callMessage("kontor", QString::number(1000 + i)).toJson();
    ASSERT_TRUE(broker.publishLines("ringvakt/kontor/call", messages));
    ASSERT_TRUE(QTest::qWaitFor([&] { return line.dropped() == MqttLine::kMaxWaiting / 2; }));
    EXPECT_EQ(line.waiting(), MqttLine::kMaxWaiting);
    handled.calls.clear();
    wakes = 0;
    line.poll();
    EXPECT_EQ(handled.calls, QStringList{"7654321 1050"});
    EXPECT_EQ(wakes, 1);
    while (line.waiting() > 0)
        line.poll();
    EXPECT_EQ(handled.calls.size(), MqttLine::kMaxWaiting);
    EXPECT_EQ(handled.calls.last(), "7654321 1149");
    EXPECT_EQ(reports.lines, QStringList{"50 received calls were not recorded: more than 100 "
                                         "waited to be recorded"});
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

TEST(MqttLine, UnderTheHouseholdAclNoDesktopSpeaksForAnother)
{
    // The ACL of the README: each desktop's user writes under its own name
    // only, and reads every desktop's calls.
    MosquittoBroker broker;
    MosquittoBroker::Options options;
    options.users = {{"kontor", "passord-k"}, {"stue", "passord-s"}};
    options.acl = "pattern write ringvakt/%u/#\n"
                  "pattern write homeassistant/sensor/ringvakt_%u/#\n"
                  "pattern read ringvakt/#\n";
    ASSERT_TRUE(broker.start(options));
    SharingConfig stueConfig = test::configFor(broker, "stue");
    stueConfig.user = "stue";
    stueConfig.password = "passord-s";
    MqttLine line(stueConfig, test::quickTiming());
    HandledCalls handled(line);
    line.startUp();
    SharingConfig kontorConfig = test::configFor(broker, "kontor");
    kontorConfig.user = "kontor";
    kontorConfig.password = "passord-k";
    CallPublisher kontor(kontorConfig, test::quickTiming());
    kontor.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return line.isReady() && kontor.isConnected(); }));

    // stue's user speaking for kontor is not heard; kontor itself is, after.
    ASSERT_TRUE(broker.publish("ringvakt/kontor/call", test::callMessage("kontor", "666").toJson(),
                               false, {"-u", "stue", "-P", "passord-s"}));
    kontor.publish(test::callMessage("kontor", "555"));
    ASSERT_TRUE(handled.waitFor(1));
    EXPECT_EQ(handled.calls, QStringList{"7654321 555"});
    // Its status and its sensor were let through: the one refusal is the
    // forgery.
    EXPECT_EQ(broker.log().count("Denied PUBLISH"), 1) << broker.log().toStdString();
}
