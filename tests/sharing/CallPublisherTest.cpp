#include "sharing/CallPublisher.h"

#include "SharingTestSetup.h"
#include "support/QtPrinting.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <gtest/gtest.h>

using test::MosquittoBroker;

namespace {

CallMessage callFrom(const QString& number, const QString& host = "kontor")
{
    return test::callMessage(host, number, CallMessage::kLineCallMonitor);
}

// "<retain> <topic> <payload>" as mosquitto_sub prints it, split.
struct Received
{
    explicit Received(const QString& line)
    {
        retained = line.section(' ', 0, 0) == "1";
        topic = line.section(' ', 1, 1);
        payload = line.section(' ', 2).toUtf8();
    }
    bool retained = false;
    QString topic;
    QByteArray payload;
};

QString numberOf(const QString& line)
{
    return QJsonDocument::fromJson(Received(line).payload).object().value("number").toString();
}

} // namespace

TEST(CallPublisher, CallStatusAndDiscoveryOnTheBroker)
{
    MosquittoBroker broker;
    ASSERT_TRUE(broker.start());
    test::Reports reports;
    CallPublisher publisher(test::configFor(broker, "kontor"), test::quickTiming());
    publisher.setReport(reports.sink());
    publisher.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return publisher.isConnected(); }));

    CallMessage call = callFrom("0212345678");
    call.name = "Kari Hansen";
    call.known = true;
    ASSERT_TRUE(publisher.publish(call));
    ASSERT_TRUE(QTest::qWaitFor([&] { return publisher.waiting() == 0; }));
    // A call received over MQTT is not passed on.
    CallMessage received = callFrom("555", "stue");
    received.line = CallMessage::kLineMqtt;
    EXPECT_FALSE(publisher.publish(received));
    EXPECT_EQ(publisher.waiting(), 0);

    // What a newcomer finds on the broker: all three kept (retained).
    const QStringList lines = broker.subscribe({"-t", "ringvakt/#", "-t", "homeassistant/#"}, 3);
    ASSERT_EQ(lines.size(), 3) << test::text(lines);
    std::map<QString, Received> byTopic;
    for (const QString& line : lines) {
        const Received r(line);
        EXPECT_TRUE(r.retained) << line.toStdString();
        byTopic.emplace(r.topic, r);
    }
    ASSERT_EQ(byTopic.count("ringvakt/kontor/status"), 1u) << test::text(lines);
    EXPECT_EQ(byTopic.at("ringvakt/kontor/status").payload, "online");
    ASSERT_EQ(byTopic.count("ringvakt/kontor/call"), 1u) << test::text(lines);
    EXPECT_EQ(byTopic.at("ringvakt/kontor/call").payload, call.toJson());
    const QString discovery = "homeassistant/sensor/ringvakt_kontor/last_call/config";
    ASSERT_EQ(byTopic.count(discovery), 1u) << test::text(lines);
    const QJsonObject config = QJsonDocument::fromJson(byTopic.at(discovery).payload).object();
    EXPECT_EQ(config.value("state_topic").toString(), "ringvakt/kontor/call");
    EXPECT_EQ(config.value("availability_topic").toString(), "ringvakt/kontor/status");

    // Calls faster than the broker acknowledges them, with the broker up:
    // none dropped, none reported.
    for (int i = 0; i < 2 * CallPublisher::kMaxWaiting; ++i)
        ASSERT_TRUE(publisher.publish(callFrom(QString::number(5000 + i))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return publisher.waiting() == 0; }));
    EXPECT_EQ(publisher.dropped(), 0);

    // The end says "offline", and a clean end is no lost line.
    publisher.stop();
    EXPECT_EQ(broker.subscribe({"-t", "ringvakt/kontor/status"}, 1),
              QStringList{"1 ringvakt/kontor/status offline"});
    EXPECT_EQ(reports.lines, QStringList{});
}

TEST(CallPublisher, CallsWhileTheBrokerIsAwayArePublishedAfterwardsInOrderOnce)
{
    MosquittoBroker broker;
    MosquittoBroker::Options options;
    options.persistence = true;
    ASSERT_TRUE(broker.start(options));
    // An observer with a session the broker keeps (across its restart too):
    // it gets every call published from now on, each as often as the
    // broker received it, in order.
    const QStringList observer{"-i", "observer", "-c", "-q", "1", "-t", "ringvakt/+/call"};
    ASSERT_TRUE(broker.run("mosquitto_sub", observer + QStringList{"-E"}));

    test::Reports reports;
    CallPublisher publisher(test::configFor(broker, "kontor"), test::quickTiming());
    publisher.setReport(reports.sink());
    publisher.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return publisher.isConnected(); }));
    publisher.publish(callFrom("1000"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return publisher.waiting() == 0; }));

    broker.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return publisher.isLost(); }));
    // Tries fail meanwhile; the loss is reported once, as the broker's.
    const QString brokerName = "MQTT broker 127.0.0.1:" + QString::number(broker.port());
    ASSERT_TRUE(QTest::qWaitFor([&] { return reports.count(brokerName + " lost: ") == 1; }));
    for (int i = 1; i <= CallPublisher::kMaxWaiting + 1; ++i)
        publisher.publish(callFrom(QString::number(1000 + i)));
    EXPECT_EQ(publisher.waiting(), CallPublisher::kMaxWaiting);
    EXPECT_EQ(publisher.dropped(), 1);

    ASSERT_TRUE(broker.restart());
    ASSERT_TRUE(QTest::qWaitFor([&] { return publisher.waiting() == 0; }, 20000));
    publisher.publish(callFrom("9999"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return publisher.waiting() == 0; }));

    QStringList expected{"1000"};
    for (int i = 2; i <= CallPublisher::kMaxWaiting + 1; ++i)
        expected << QString::number(1000 + i);
    expected << "9999";
    QStringList numbers;
    for (const QString& line : broker.subscribe(observer, int(expected.size())))
        numbers << numberOf(line);
    EXPECT_EQ(numbers, expected);

    EXPECT_EQ(reports.count(brokerName + " lost: "), 1) << test::text(reports.lines);
    EXPECT_EQ(reports.count(brokerName + " back after "), 1) << test::text(reports.lines);
    EXPECT_EQ(reports.count("line "), 0) << test::text(reports.lines);
    EXPECT_EQ(reports.lines.filter("not published"),
              QStringList{"1 call was not published: the MQTT broker 127.0.0.1:" +
                          QString::number(broker.port()) +
                          " was away and only the last 100 calls were kept"});
    EXPECT_EQ(reports.lines.size(), 3) << test::text(reports.lines);
}

TEST(CallPublisher, LoginWithAPasswordThatNeverShows)
{
    MosquittoBroker broker;
    MosquittoBroker::Options options;
    options.users = {{"ringvakt", "hemmelig-123"}};
    ASSERT_TRUE(broker.start(options));

    SharingConfig config = test::configFor(broker, "kontor");
    config.user = "ringvakt";
    config.password = "feil-passord";
    test::Reports reports;
    QStringList notices;
    {
        CallPublisher refused(config, test::quickTiming());
        refused.setReport(reports.sink());
        QObject::connect(&refused, &CallPublisher::notice,
                         [&](const QString& text) { notices << text; });
        refused.start();
        refused.publish(callFrom("0212345678"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return refused.isLost() && notices.size() == 1; }));
        EXPECT_TRUE(notices[0].contains("127.0.0.1:" + QString::number(broker.port())))
            << test::text(notices);
    }
    ASSERT_EQ(reports.count(" lost: "), 1) << test::text(reports.lines);
    EXPECT_EQ(reports.count("1 call was not published"), 1) << test::text(reports.lines);

    config.password = "hemmelig-123";
    CallPublisher publisher(config, test::quickTiming());
    publisher.setReport(reports.sink());
    publisher.start();
    publisher.publish(callFrom("0212345678"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return publisher.waiting() == 0; }));

    const QString everything = reports.lines.join("\n") + notices.join("\n");
    EXPECT_FALSE(everything.contains("feil-passord"));
    EXPECT_FALSE(everything.contains("hemmelig"));
}

TEST(CallPublisher, OverTlsWithReportsThatSayWhatIsWrong)
{
    MosquittoBroker broker;
    MosquittoBroker::Options options;
    options.tls = true;
    ASSERT_TRUE(broker.start(options));
    SharingConfig config = test::configFor(broker, "kontor");
    config.tls = true;
    config.host = "localhost";

    // A broker whose certificate the system does not trust, a CA file that
    // is not there, and a certificate that is not for the address used:
    // lost lines, tried again, never fatal.
    const QString missing = broker.caFile() + ".missing";
    const std::vector<std::tuple<QString, QString, QString>> failures{
        {"", "localhost", "the broker's certificate is not trusted: self-signed certificate"},
        {missing, "localhost", "the CA file " + missing + " cannot be read: "},
        {broker.caFile(), "127.0.0.1", "the broker's certificate is not for 127.0.0.1"}};
    for (const auto& [caFile, host, why] : failures) {
        config.caFile = caFile;
        config.host = host;
        test::Reports reports;
        CallPublisher refused(config, test::quickTiming());
        refused.setReport(reports.sink());
        refused.start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return refused.isLost(); }));
        EXPECT_EQ(reports.count(" lost: " + why), 1) << test::text(reports.lines);
    }

    // The name the certificate is for, looked up, and its CA.
    config.caFile = broker.caFile();
    config.host = "localhost";
    CallPublisher publisher(config, test::quickTiming());
    publisher.start();
    publisher.publish(callFrom("0212345678"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return publisher.waiting() == 0; }));
    EXPECT_FALSE(publisher.isLost());
}
