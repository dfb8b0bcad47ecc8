#include "FakeCapiApi.h"
#include "FakeCapiMessages.h"
#include "calllog/CallLog.h"
#include "controller/Controller.h"
#include "settings/SettingsStore.h"
#include "sharing/CallMessage.h"
#include "sharing/CallPublisher.h"
#include "sharing/MqttLine.h"
#include "support/FakeClock.h"
#include "support/FakeSoundOutput.h"
#include "support/MosquittoBroker.h"
#include "support/QtPrinting.h"
#include "support/TempDataDir.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

class ShownPopups : public CallPopupPresenter
{
public:
    void showCallPopup(const std::string& number, const std::string& msn, const std::string& name,
                       bool, bool) override
    {
        shown << QString::fromStdString(number + "|" + msn + "|" + name);
    }
    void closeCallPopup() override {}

    QStringList shown;
};

// The core with sharing on, against a real broker, on a scripted CAPI line.
class SharingControllerTest : public ::testing::Test
{
protected:
    void start(const std::string& settings)
    {
        dir.write("Ringvakt.ini", "[V1.51]\nMQTT=2\nMQTT_HOST=127.0.0.1\nMQTT_PORT=" +
                                      std::to_string(broker.port()) + "\n" + settings);
        LineTiming timing;
        timing.retryDelaysMs = {50, 100};
        core = std::make_unique<Controller>(
            ControllerParts{capi, store, sound, clock, popups, nullptr, dir.path(), timing, false});
        problems = std::make_unique<QSignalSpy>(core.get(), &Controller::problemChanged);
        ASSERT_TRUE(core->start());
    }

    void ring(const std::string& from, const std::string& to)
    {
        using namespace FakeCapiMessages;
        capi.queueMessage(
            connectInd(messageNumber++, 0x101, 1, calledNumber(to), callingNumber(from)));
        core->pollTick();
        EXPECT_TRUE(test::announcementsDone(*core));
    }

    QString lastProblem() const
    {
        return problems->isEmpty() ? QString() : problems->last()[0].toString();
    }

    test::MosquittoBroker broker;
    test::TempDataDir dir;
    FakeCapiApi capi;
    IniSettingsStore store{dir.file("Ringvakt.ini")};
    test::FakeSoundOutput sound;
    test::FakeClock clock;
    ShownPopups popups;
    std::unique_ptr<Controller> core;
    std::unique_ptr<QSignalSpy> problems;
    uint16_t messageNumber = 1;
};

QJsonObject payloadOf(const QString& line)
{
    return QJsonDocument::fromJson(line.section(' ', 2).toUtf8()).object();
}

} // namespace

TEST_F(SharingControllerTest, EveryLoggedCallIsPublishedAndTheBrokerAwayIsAProblemNotALostLine)
{
    test::MosquittoBroker::Options options;
    options.persistence = true;
    ASSERT_TRUE(broker.start(options));
    // An observer whose session the broker keeps across its restart: every
    // call published from now on, as often as the broker got it, in order.
    const QStringList observer{"-i", "observer", "-c", "-q", "1", "-t", "ringvakt/+/call"};
    ASSERT_TRUE(broker.run("mosquitto_sub", observer + QStringList{"-E"}));
    dir.write("PhoneBk.dat", "Hansen\r\nKari\r\n0212345678\r\n");
    start("MQTT_NAME=kontor\nMSN_LOG=1\nMSN_1=7654321\n");
    ASSERT_NE(core->publisher(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return core->publisher()->isConnected(); }));

    // In both modes that see calls; a call the MSN filter stops is not
    // shared.
    ring("0212345678", "7654321");
    ring("555", "1111111");
    core->SetOperatingMode(OperatingMode::OutputDisabled);
    ring("98765432", "7654321");
    ASSERT_TRUE(QTest::qWaitFor([&] { return core->publisher()->waiting() == 0; }));

    // The broker away: the line is fine, the call is logged and waits.
    broker.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return core->publisher()->isLost(); }));
    EXPECT_FALSE(core->line().isLineLost());
    EXPECT_TRUE(lastProblem().startsWith("Deling: ingen forbindelse med MQTT-megleren 127.0.0.1:" +
                                         QString::number(broker.port()) + " siden "))
        << lastProblem().toStdString();
    ring("444", "7654321");
    EXPECT_EQ(core->callLog().size(), 3);
    ASSERT_TRUE(broker.restart());
    ASSERT_TRUE(QTest::qWaitFor([&] { return core->publisher()->waiting() == 0; }, 20000));
    EXPECT_EQ(lastProblem(), "");

    const QStringList received = broker.subscribe(observer, 3);
    ASSERT_EQ(received.size(), 3);
    const QJsonObject first = payloadOf(received[0]);
    EXPECT_EQ(first.value("number").toString(), "0212345678");
    EXPECT_EQ(first.value("name").toString(), "Kari Hansen");
    EXPECT_TRUE(first.value("known").toBool());
    EXPECT_EQ(first.value("line").toString(), "capi");
    EXPECT_EQ(first.value("host").toString(), "kontor");
    EXPECT_EQ(first.value("date").toString(), "06-Des-2026");
    EXPECT_EQ(first.value("clock").toString(), "02:39:46");
    EXPECT_EQ(payloadOf(received[1]).value("number").toString(), "98765432");
    EXPECT_EQ(payloadOf(received[2]).value("number").toString(), "444");

    // The end says "offline" to the other desktops.
    core.reset();
    EXPECT_EQ(broker.subscribe({"-t", "ringvakt/kontor/status"}, 1),
              QStringList{"1 ringvakt/kontor/status offline"});
}

TEST_F(SharingControllerTest, CallsOfOtherDesktopsAreALineNamedFromThisPhoneBookAndNotSharedAgain)
{
    ASSERT_TRUE(broker.start());
    dir.write("PhoneBk.dat", "Hansen\r\nKari\r\n22123456\r\n");
    start("LINE=3\nMQTT_NAME=stue\nCOUNTRY=NO\n");
    auto* line = qobject_cast<MqttLine*>(&core->line());
    ASSERT_NE(line, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return line->isReady(); }));

    CallMessage call;
    call.time = QDateTime::currentDateTime();
    call.msn = "7654321";
    call.number = "+4722123456";
    call.numberDelivered = true;
    call.name = "K. H.";
    call.line = CallMessage::kLineCallMonitor;
    call.host = "kontor";
    ASSERT_TRUE(broker.publish("ringvakt/kontor/call", call.toJson(), true));
    ASSERT_TRUE(QTest::qWaitFor([&] { return core->callLog().size() == 1; }));
    ASSERT_TRUE(test::announcementsDone(*core));
    EXPECT_EQ(popups.shown, QStringList{"+4722123456|7654321|Kari Hansen"});

    // A received call goes out no more: with the calls of other desktops as
    // its line, this desktop shares nothing even where its settings say so
    // (the settings dialog greys that choice). Once it has left the broker,
    // nothing of it was published.
    core.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return broker.log().contains("Client ringvakt/stue/line closed its connection");
    })) << broker.log().toStdString();
    EXPECT_FALSE(broker.log().contains("'ringvakt/stue/")) << broker.log().toStdString();
}

TEST_F(SharingControllerTest,
       ADesktopThatWasOffRecordsTheCallsOfMeanwhileAtTheirTimesAnnouncingNone)
{
    ASSERT_TRUE(broker.start());
    start("LINE=3\nMQTT_NAME=stue\n");
    auto* line = qobject_cast<MqttLine*>(&core->line());
    ASSERT_NE(line, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return line->isReady(); }));
    // Off: the broker keeps this desktop's session.
    core.reset();

    // Meanwhile five calls ring on the desktop with the line, the first two
    // from one number in one second.
    SharingConfig config;
    config.host = "127.0.0.1";
    config.port = broker.port();
    config.hostName = "kontor";
    CallPublisher kontor(config, LineTiming());
    kontor.start();
    const QDateTime rang = clock.now().toDateTime();
    const std::vector<std::pair<int, const char*>> calls{
        {0, "22123456"}, {400, "22123456"}, {1500, "555"}, {2000, "556"}, {61000, "557"}};
    for (const auto& [afterMs, number] : calls)
        kontor.publish(CallMessage::fromCall(rang.addMSecs(afterMs), "7654321", number, true, "???",
                                             false, CallMessage::kLineCapi, "kontor"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return kontor.isConnected() && kontor.waiting() == 0; }));

    // Back ten minutes later: every call in the log at the time it rang, and
    // none announced as ringing now.
    clock.set(LocalDateTime::fromDateTime(rang.addSecs(600)));
    start("LINE=3\nMQTT_NAME=stue\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return core->callLog().size() == 5; }));
    QStringList rows;
    for (int i = 0; i < core->callLog().size(); ++i) {
        const CallRecord& row = core->callLog().at(i);
        rows << QString::fromStdString(row.date + " " + row.time + " " + row.callerNumber);
    }
    EXPECT_EQ(rows, QStringList({"06-Des-2026 02:39:46 22123456", "06-Des-2026 02:39:46 22123456",
                                 "06-Des-2026 02:39:47 555", "06-Des-2026 02:39:48 556",
                                 "06-Des-2026 02:40:47 557"}));
    // The next call rings now: it is the first announced.
    kontor.publish(CallMessage::fromCall(clock.now().toDateTime(), "7654321", "558", true, "???",
                                         false, CallMessage::kLineCapi, "kontor"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return core->callLog().size() == 6; }));
    ASSERT_TRUE(test::announcementsDone(*core));
    EXPECT_EQ(popups.shown, QStringList{"558|7654321|???"});
}
