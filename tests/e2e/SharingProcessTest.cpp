#include "FakeNotificationProcess.h"
#include "SessionBus.h"
#include "support/ExchangeProcess.h"
#include "support/FileUtil.h"
#include "support/MosquittoBroker.h"
#include "support/NeededService.h"
#include "support/QtPrinting.h"
#include "support/RingvaktProcess.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using test::ExchangeProcess;
using test::MosquittoBroker;
using test::RingvaktProcess;

// Two desktops on one broker: "kontor" owns the simulated line and shares
// its calls, "stue" receives them as its line (and is set to share too,
// which must not echo them), named from its own phone book, with its notification.
TEST(SharingProcessTest, ACallOnOneDesktopReachesTheOtherThroughTheBroker)
{
    test::SessionBus bus;
    RINGVAKT_NEED_SERVICE(!bus.address().isEmpty(), "dbus-daemon could not be started");
    QTemporaryDir dir;
    test::FakeNotificationProcess notifications;
    ASSERT_TRUE(notifications.start(bus.address(), dir.filePath("notifications.log")));

    MosquittoBroker broker;
    MosquittoBroker::Options options;
    options.persistence = true;
    ASSERT_TRUE(broker.start(options));
    const QStringList observer{"-i", "observer", "-c", "-q", "1", "-t", "ringvakt/kontor/call"};
    ASSERT_TRUE(broker.run("mosquitto_sub", observer + QStringList{"-E"}));

    ExchangeProcess exchange;
    RingvaktProcess kontor;
    RingvaktProcess stue;
    ASSERT_TRUE(exchange.start());
    ASSERT_TRUE(exchange.writeCapiRc(kontor.home()));
    const std::string mqtt =
        "MQTT=2\nMQTT_HOST=127.0.0.1\nMQTT_PORT=" + std::to_string(broker.port()) + "\nBEEP=4\n";
    test::writeFile(kontor.settingsFile(), "[V1.51]\nMQTT_NAME=kontor\n" + mqtt);
    test::writeFile(stue.settingsFile(),
                    "[V1.51]\nMQTT_NAME=stue\nLINE=3\nNOTIFY=2\nCOUNTRY=NO\n" + mqtt);
    test::writeFile(stue.dataFile("PhoneBk.dat"), "Hansen\r\nKari\r\n22123456\r\n");
    stue.setEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS", bus.address());
    ASSERT_TRUE(kontor.start());
    ASSERT_TRUE(stue.start());
    ASSERT_FALSE(exchange.waitForLog(test::kListenRequestLine).isEmpty());
    ASSERT_TRUE(
        RingvaktProcess::waitUntil([&] { return broker.log().contains("ringvakt/+/call"); }));

    // The ring, on the other desktop: its row, and its notification with
    // the name from its own phone book.
    exchange.ring("+4722123456", "7654321");
    ASSERT_TRUE(RingvaktProcess::waitUntil(
        [&] { return test::callersIn(stue.dataFile("CallID.dat")).size() == 1; }));
    EXPECT_EQ(test::callersIn(stue.dataFile("CallID.dat")), QStringList{"+4722123456"});
    ASSERT_TRUE(RingvaktProcess::waitUntil([&] { return notifications.lines().size() == 1; }));
    EXPECT_TRUE(notifications.lines()[0].endsWith(
        "body=Kari Hansen|Tlf.Nummer: +4722123456|Ringer til MSN: 7654321"))
        << notifications.lines()[0].toStdString();

    // Messages that are no call are ignored, the first told at once and the
    // rest counted; the next good one is handled.
    const QString other = "ringvakt/garasje/call";
    ASSERT_TRUE(broker.publish(other, "ring ring"));
    ASSERT_TRUE(broker.publish(other, R"({"msn":"7654321"})"));
    ASSERT_TRUE(broker.publish(other, R"({"number":"0212;rm -rf /","msn":"7654321"})"));
    ASSERT_TRUE(broker.publish(other, R"({"number":"1","name":")" + QByteArray(5000, 'x') + "\"}"));
    ASSERT_TRUE(broker.publish(other, R"({"number":"555","msn":"7654321"})"));
    ASSERT_TRUE(RingvaktProcess::waitUntil(
        [&] { return test::callersIn(stue.dataFile("CallID.dat")).size() == 2; }));

    // The broker away: the line's calls are logged and published once it
    // is back, in order, none twice. The sharing desktop says the broker is
    // lost, not its line.
    broker.stop();
    const QString brokerLost = "MQTT broker 127.0.0.1:" + QString::number(broker.port()) + " lost";
    ASSERT_TRUE(
        RingvaktProcess::waitUntil([&] { return kontor.standardError().contains(brokerLost); }));
    EXPECT_FALSE(kontor.standardError().contains("line lost"));
    for (const char* caller : {"111", "222"}) {
        const int listening = exchange.countLog(test::kListenRequestLine);
        exchange.ring(caller, "7654321");
        ASSERT_TRUE(exchange.waitForLogCount(test::kListenRequestLine, listening + 1));
    }
    ASSERT_TRUE(RingvaktProcess::waitUntil(
        [&] { return test::callersIn(kontor.dataFile("CallID.dat")).size() == 3; }));
    ASSERT_TRUE(broker.restart());
    QStringList published;
    // (-R: not the retained last call that its subscription brings again.)
    for (const QString& line : broker.subscribe(observer + QStringList{"-R"}, 3))
        published << QJsonDocument::fromJson(line.section(' ', 2).toUtf8())
                         .object()
                         .value("number")
                         .toString();
    EXPECT_EQ(published, QStringList({"+4722123456", "111", "222"}));

    // Both end: the sharing desktop says "offline"; the receiving desktop
    // shares nothing (its settings ask for it, but its line is the calls of
    // others) and never passed a call on.
    EXPECT_EQ(kontor.terminate(), 0);
    EXPECT_EQ(stue.terminate(), 0);
    EXPECT_EQ(broker.subscribe({"-t", "ringvakt/+/status"}, 1),
              QStringList{"1 ringvakt/kontor/status offline"});
    EXPECT_FALSE(broker.log().contains("'ringvakt/stue/"));
    EXPECT_EQ(test::callersIn(stue.dataFile("CallID.dat")).mid(0, 2),
              QStringList({"+4722123456", "555"}));
    const QString errors = stue.standardError();
    EXPECT_EQ(errors.count("is ignored"), 1) << errors.toStdString();
    EXPECT_EQ(errors.count("3 more call message(s) ignored since; the last on "
                           "ringvakt/garasje/call: larger than 4096 bytes"),
              1)
        << errors.toStdString();
}

// Calls published while a desktop was off come when it starts, recorded at
// the time they rang; a flood of calls never holds the program: a SIGTERM
// in the middle of it ends it, with the calls recorded so far whole in its
// log, in the order they were sent.
TEST(SharingProcessTest, ABacklogAndAFloodOfCallsNeverHoldTheProgram)
{
    MosquittoBroker broker;
    ASSERT_TRUE(broker.start());
    RingvaktProcess stue;
    test::writeFile(stue.settingsFile(), "[V1.51]\nMQTT_NAME=stue\nLINE=3\nMQTT_HOST=127.0.0.1\n"
                                         "MQTT_PORT=" +
                                             std::to_string(broker.port()) + "\n");
    ASSERT_TRUE(stue.start());
    ASSERT_TRUE(
        RingvaktProcess::waitUntil([&] { return broker.log().contains("ringvakt/+/call"); }));
    ASSERT_EQ(stue.terminate(), 0);

    // Calls of "kontor": numbers from `first` on, all rung at `when`.
    const auto calls = [](int first, int count, const QDateTime& when) {
        QByteArray lines;
        for (int i = first; i < first + count; ++i)
            lines +=
                QStringLiteral(R"({"id":"%1","time":"%2","msn":"7654321","number":"%1"})")
                    .arg(i)
                    .arg(when.toOffsetFromUtc(when.offsetFromUtc()).toString(Qt::ISODateWithMs))
                    .toUtf8() +
                '\n';
        return lines;
    };
    const QDateTime rang = QDateTime::currentDateTime().addSecs(-600);
    ASSERT_TRUE(broker.run("mosquitto_pub", {"-q", "1", "-t", "ringvakt/kontor/call", "-l"},
                           nullptr, 60000, calls(100000, 200, rang)));

    ASSERT_TRUE(stue.start());
    ASSERT_TRUE(RingvaktProcess::waitUntil(
        [&] { return !test::callersIn(stue.dataFile("CallID.dat")).isEmpty(); }));
    QProcess flood;
    flood.start("mosquitto_pub", {"-h", "127.0.0.1", "-p", QString::number(broker.port()), "-q",
                                  "1", "-t", "ringvakt/kontor/call", "-l"});
    flood.write(calls(200000, 1000, QDateTime::currentDateTime()));
    flood.closeWriteChannel();
    ASSERT_TRUE(RingvaktProcess::waitUntil(
        [&] { return test::callersIn(stue.dataFile("CallID.dat")).last().toInt() >= 200000; }));
    EXPECT_EQ(stue.terminate(), 0);

    const QStringList lines = QString::fromStdString(test::readFile(stue.dataFile("CallID.dat")))
                                  .split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size() % 4, 0);
    int last = 0;
    for (int row = 0; row < lines.size(); row += 4) {
        const int number = lines[row + 3].toInt();
        EXPECT_GT(number, last) << "in order, once each";
        last = number;
        if (number < 200000) {
            EXPECT_EQ(lines[row + 1], rang.toString("HH:mm:ss")) << "at the time it rang";
        }
    }
    EXPECT_GE(last, 200000);
    flood.waitForFinished();
}
