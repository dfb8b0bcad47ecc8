#include "AppFixture.h"
#include "FakeNotificationServer.h"
#include "SessionBus.h"
#include "calllog/CallLog.h"
#include "calllog/CallLogModel.h"
#include "calllog/CallLogWindow.h"
#include "outcomes/CallOutcomes.h"
#include "outcomes/OutcomeFile.h"
#include "sharing/CallPublisher.h"
#include "shell/CommandIds.h"
#include "shell/MainWindow.h"
#include "shell/TrayIcon.h"
#include "support/ExchangeProcess.h"
#include "support/FileUtil.h"
#include "support/MosquittoBroker.h"
#include "support/RingvaktProcess.h"

#include <QDBusConnection>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>
#include <QTreeView>

namespace {

// The program on the simulated call monitor, sharing its calls with a
// second desktop (a real ringvakt, off for a while) through a real broker,
// with desktop notifications on a bus of the test's own.
class OutcomeScenarioTest : public test::AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ASSERT_FALSE(bus.address().isEmpty()) << "dbus-daemon could not be started";
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address().toUtf8());
        server = std::make_unique<test::FakeNotificationServer>(
            QDBusConnection::connectToBus(bus.address(), QStringLiteral("test-server")));
        ASSERT_TRUE(server->isRegistered());
        test::MosquittoBroker::Options options;
        options.persistence = true;
        ASSERT_TRUE(broker.start(options));
        ASSERT_TRUE(broker.run("mosquitto_sub", observer + QStringList{"-E"}));
        test::ExchangeProcess::Options line;
        line.callMonitor = true;
        ASSERT_TRUE(exchange.start(line));
    }

    void say(const QString& command)
    {
        EXPECT_TRUE(exchange.command(command).startsWith("ok ")) << command.toStdString();
    }
    bool rows(int count)
    {
        return QTest::qWaitFor([&] { return app->core().callLog().size() >= count; }, 10000);
    }
    bool ended(int row)
    {
        return QTest::qWaitFor(
            [&] {
                const CallOutcome* o = app->core().outcomes().at(row);
                return o && o->state != CallState::Ringing;
            },
            10000);
    }
    QStringList statuses() const
    {
        const QAbstractItemModel* model = app->callLogWindow()->list()->model();
        QStringList texts;
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, CallLogModel::kStatusColumn).data().toString();
        return texts;
    }
    // The tray's picture carries the red mark in its upper right corner.
    bool marked() const
    {
        const QColor corner = app->tray().icon().pixmap(32).toImage().pixelColor(24, 8);
        return corner.red() > 150 && corner.green() < 80;
    }
    QString missedOnBroker() const
    {
        return broker.subscribe({"-t", "ringvakt/kontor/missed"}, 1).value(0);
    }

    test::SessionBus bus;
    std::unique_ptr<test::FakeNotificationServer> server;
    test::MosquittoBroker broker;
    const QStringList observer{"-i", "observer", "-c", "-q", "1", "-t", "ringvakt/kontor/call"};
    test::ExchangeProcess exchange;
};

} // namespace

TEST_F(OutcomeScenarioTest, AnsweredMissedVoicemailAndLostCallsWhereTheUserLooks)
{
    const std::string mqtt =
        "MQTT=2\nMQTT_HOST=127.0.0.1\nMQTT_PORT=" + std::to_string(broker.port()) + "\n";
    dir.write("PhoneBk.dat", "Hansen\r\nKari\r\n22123456\r\n");
    dir.write("Ringvakt.ini", "[V1.51]\nLINE=2\nCALLMONITOR_HOST=127.0.0.1\nCALLMONITOR_PORT=" +
                                  std::to_string(exchange.callMonitorPort()) +
                                  "\nNOTIFY=2\nMQTT_NAME=kontor\n" + mqtt);
    test::RingvaktProcess stue;
    test::writeFile(stue.settingsFile(), "[V1.51]\nLINE=3\nMQTT_NAME=stue\nBEEP=4\n" + mqtt);
    ASSERT_TRUE(stue.start());
    clock.set({2026, 12, 7, 14, 2, 0});
    trayPresent = true;
    ASSERT_TRUE(startApp());
    ASSERT_TRUE(exchange.waitForLogCount(QRegularExpression(" CM_OPEN( |$)"), 1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->core().publisher()->isConnected(); }, 10000));
    ASSERT_TRUE(
        test::RingvaktProcess::waitUntil([&] { return broker.log().contains("ringvakt/+/call"); }));

    // Taken at extension 1 for 2:15; Kari, whom nobody took; the answering
    // machine (extension 40); two calls at once, the first unanswered after
    // the second rang, the second lost with the line.
    exchange.ring("555", "7654321");
    ASSERT_TRUE(rows(1));
    say("connect extension=1");
    say("disconnect seconds=135");
    ASSERT_TRUE(ended(0));
    exchange.ring("22123456", "7654321");
    ASSERT_TRUE(rows(2));
    say("disconnect");
    ASSERT_TRUE(ended(1));
    exchange.ring("555", "7654321");
    ASSERT_TRUE(rows(3));
    say("connect extension=40");
    say("disconnect seconds=40");
    ASSERT_TRUE(ended(2));
    exchange.ring("98765432", "7654321");
    exchange.ring("999", "7654321");
    ASSERT_TRUE(rows(5));
    // The other desktop is off when the first of those ends: it hears of it
    // when it is back.
    ASSERT_TRUE(test::RingvaktProcess::waitUntil(
        [&] { return test::callersIn(stue.dataFile("CallID.dat")).size() == 5; }));
    EXPECT_EQ(stue.terminate(), 0);
    say("disconnect call=4");
    ASSERT_TRUE(ended(3));
    exchange.cmDrop();
    ASSERT_TRUE(ended(4));

    EXPECT_EQ(statuses(),
              QStringList({"Besvart 2:15", "Ubesvart", "Telefonsvarer 0:40", "Ubesvart", ""}));
    const QString shots = qEnvironmentVariable("RINGVAKT_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        app->mainWindow().show();
        QDir().mkpath(shots);
        app->mainWindow().grab().save(shots + QStringLiteral("/call-log-status.png"));
        app->tray().icon().pixmap(64).save(shots + QStringLiteral("/tray-marked.png"));
        app->mainWindow().hide();
    }
    EXPECT_TRUE(app->tray().toolTip().endsWith("\n2 ubesvarte anrop (siste: 98765432 14:02)"))
        << app->tray().toolTip().toStdString();
    EXPECT_TRUE(marked());

    // A notification for each missed call; "-> Katalog" for the caller the
    // phone book does not know.
    const auto missed = [&] {
        std::vector<test::NotifyCall> calls;
        for (const test::NotifyCall& call : server->calls()) {
            if (call.summary == "Ubesvart anrop")
                calls.push_back(call);
        }
        return calls;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return missed().size() == 2; }, 5000)) << [&] {
        std::string all;
        for (const test::NotifyCall& call : server->calls())
            all += call.summary.toStdString() + ": " + call.body.toStdString() + "\n";
        return all;
    }();
    EXPECT_EQ(missed()[0].body, "Kari Hansen\nTlf.Nummer: 22123456");
    EXPECT_TRUE(missed()[0].actions.isEmpty());
    EXPECT_EQ(missed()[1].body, "???\nTlf.Nummer: 98765432");
    EXPECT_EQ(missed()[1].actions, QStringList({"add-to-phone-book", "-> Katalog"}));
    EXPECT_EQ(missed()[1].replacesId, missed()[0].id);

    // On the broker: each call as it rang, then again with the same id and
    // its outcome; the call that rang last stays the one the broker keeps.
    QStringList messages;
    QMap<QString, QString> ids;
    for (const QString& line : broker.subscribe(observer + QStringList{"-R"}, 9)) {
        const QJsonObject m = QJsonDocument::fromJson(line.section(' ', 2).toUtf8()).object();
        const QString state = m.value("state").toString();
        QString text = m.value("number").toString() + ' ' + state;
        if (state != "ringing") {
            text += ' ' + QString::number(m.value("duration").toInt()) + ' ' +
                    m.value("extension").toString();
            EXPECT_EQ(ids.value(m.value("number").toString()), m.value("id").toString());
        }
        ids[m.value("number").toString()] = m.value("id").toString();
        messages << text.trimmed();
    }
    EXPECT_EQ(messages, QStringList({"555 ringing", "555 answered 135 1", "22123456 ringing",
                                     "22123456 missed 0", "555 ringing", "555 voicemail 40 40",
                                     "98765432 ringing", "999 ringing", "98765432 missed 0"}));
    const QString kept = broker.subscribe({"-t", "ringvakt/kontor/call"}, 1).value(0);
    EXPECT_TRUE(kept.startsWith("1 ") && kept.contains("\"999\"")) << kept.toStdString();
    EXPECT_EQ(missedOnBroker(), "1 ringvakt/kontor/missed 2");
    EXPECT_TRUE(
        broker.subscribe({"-t", "homeassistant/sensor/ringvakt_kontor/missed_calls/config"}, 1)
            .value(0)
            .contains("\"name\":\"Ubesvarte anrop\""));

    // The other desktop keeps the outcomes with its own copies of the calls.
    ASSERT_TRUE(stue.start());
    QStringList copies;
    EXPECT_TRUE(test::RingvaktProcess::waitUntil([&] {
        int bad = 0;
        const auto entries =
            outcomefile::parse(test::readFile(stue.dataFile("CallStatus.dat")), &bad);
        copies.clear();
        for (const outcomefile::Entry& e : entries.value_or(std::vector<outcomefile::Entry>()))
            copies << QString::fromStdString(e.callerNumber) + ' ' + callStateWord(e.outcome.state);
        return copies.size() == 5 && copies.contains("98765432 missed");
    })) << copies.join(", ").toStdString();
    EXPECT_EQ(copies, QStringList({"555 answered", "22123456 missed", "555 voicemail",
                                   "98765432 missed", "999 ringing"}));
    EXPECT_EQ(stue.terminate(), 0);
    EXPECT_EQ(stue.unexpectedErrors(), "");

    // The mark survives a restart; opening "Siste Innringere" clears it,
    // here and on the broker, for good.
    app.reset();
    ASSERT_TRUE(startApp());
    EXPECT_TRUE(app->tray().toolTip().contains("2 ubesvarte anrop (siste: 98765432 14:02)"));
    EXPECT_TRUE(marked());
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->core().publisher()->isConnected(); }, 10000));
    app->command(command::ShowCallLog);
    EXPECT_FALSE(app->tray().toolTip().contains("ubesvart")) << app->tray().toolTip().toStdString();
    EXPECT_FALSE(marked());
    EXPECT_TRUE(test::RingvaktProcess::waitUntil(
        [&] { return missedOnBroker() == "1 ringvakt/kontor/missed 0"; }));
    app.reset();
    ASSERT_TRUE(startApp());
    EXPECT_FALSE(marked());

    // The export: what became of each call, and how long it was taken.
    const QString csv = dir.file("calls.csv");
    test::RingvaktProcess exporter;
    EXPECT_EQ(exporter.runOnce({"--data-dir", dir.path(), "--export-calls", csv}).exitCode, 0);
    QStringList tails;
    for (const QString& line :
         QString::fromStdString(test::readFile(csv)).split("\r\n", Qt::SkipEmptyParts))
        tails << line.section(',', 6);
    EXPECT_EQ(tails, QStringList({"Status,Varighet", "Besvart,135", "Ubesvart,", "Telefonsvarer,40",
                                  "Ubesvart,", ","}));
}
