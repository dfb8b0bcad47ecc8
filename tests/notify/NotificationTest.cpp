#include "AppFixture.h"
#include "FakeNotificationServer.h"
#include "SessionBus.h"
#include "calllog/CallLog.h"
#include "shell/CommandIds.h"
#include "support/NeededService.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

using test::AppFixture;

namespace {

// The program with desktop notifications on, its own session bus and a
// notification service of the test's own on that bus.
class NotificationTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        RINGVAKT_NEED_SERVICE(!bus.address().isEmpty(), "dbus-daemon could not be started");
        // Before anything of the program touches the session bus.
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address().toUtf8());
        dir.write("Ringvakt.ini", "[V1.51]\nNOTIFY=2\n");
        dir.write("PhoneBk.dat", "Hansen\r\nKari\r\n201\r\n");
    }

    void startServer()
    {
        server = std::make_unique<test::FakeNotificationServer>(
            QDBusConnection::connectToBus(bus.address(), QStringLiteral("test-server")));
        ASSERT_TRUE(server->isRegistered());
    }

    bool notified(size_t count)
    {
        return QTest::qWaitFor([&] { return server->calls().size() >= count; }, 5000);
    }

    test::SessionBus bus;
    std::unique_ptr<test::FakeNotificationServer> server;
};

} // namespace

TEST_F(NotificationTest, EveryAnnouncedCallIsNotifiedAndReplacesTheLast)
{
    startServer();
    ASSERT_TRUE(startApp());
    ring("555", "7654321");
    ASSERT_TRUE(notified(1));
    const test::NotifyCall first = server->calls()[0];
    EXPECT_EQ(first.appName, "Ringvakt");
    EXPECT_EQ(first.summary, "Ringvakt");
    EXPECT_EQ(first.body, "???\nTlf.Nummer: 555\nRinger til MSN: 7654321");
    EXPECT_EQ(first.actions, QStringList({"add-to-phone-book", "-> Katalog"}));
    EXPECT_EQ(first.hints.value("category").toString(), "call");
    EXPECT_EQ(first.icon, "no.tornholt.Ringvakt");
    EXPECT_EQ(first.replacesId, 0u);

    // A caller in the phone book: no "-> Katalog"; the notification
    // replaces the one before.
    ring("201", "7654321");
    ASSERT_TRUE(notified(2));
    const test::NotifyCall second = server->calls()[1];
    EXPECT_EQ(second.body, "Kari Hansen\nTlf.Nummer: 201\nRinger til MSN: 7654321");
    EXPECT_TRUE(second.actions.isEmpty());
    EXPECT_EQ(second.replacesId, first.id);

    // Logged only: no notification, as no popup. The next announced call's
    // notification is the next the service gets.
    app->command(command::DisableOutput);
    ring("556", "7654321");
    EXPECT_EQ(app->core().callLog().size(), 3);
    app->command(command::Enable);
    ring("557", "7654321");
    ASSERT_TRUE(notified(3));
    EXPECT_TRUE(server->calls()[2].body.contains("557"));

    // Calls faster than the service answers: the last one still replaces
    // the one the service showed before it, never stands beside it.
    ring("558", "7654321");
    ring("559", "7654321");
    ASSERT_TRUE(QTest::qWaitFor([&] { return server->calls().back().body.contains("559"); }, 5000));
    const std::vector<test::NotifyCall> calls = server->calls();
    EXPECT_EQ(calls.back().replacesId, calls[calls.size() - 2].id);
}

TEST_F(NotificationTest, NamesAreTextOnAServiceThatReadsMarkup)
{
    dir.write("PhoneBk.dat", "Hansen & S\xF8nn\r\n<a href=\"http://x\">Kari</a>\r\n201\r\n");
    startServer();
    server->setBodyMarkup(true);
    ASSERT_TRUE(startApp());
    ring("201", "7654321");
    ASSERT_TRUE(notified(1));
    EXPECT_EQ(server->calls()[0].body,
              "&lt;a href=&quot;http://x&quot;&gt;Kari&lt;/a&gt; Hansen &amp; Sønn\n"
              "Tlf.Nummer: 201\nRinger til MSN: 7654321");
}

TEST_F(NotificationTest, TheActionOpensTheEditorWithTheNumber)
{
    startServer();
    ASSERT_TRUE(startApp());
    ring("4711", "1");
    ASSERT_TRUE(notified(1));

    // The editor is modal: it is looked for from a timer, which its own
    // event loop serves.
    bool sawEditor = false;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && w->windowTitle() == "Ringvakt - Katalog innlegg") {
                sawEditor = w->findChild<QLineEdit*>(QStringLiteral("1023"))->text() == "4711";
                look.stop();
                qobject_cast<QDialog*>(w)->reject();
            }
        }
    });
    look.start(20);
    server->invokeAction(server->calls()[0].id, "add-to-phone-book");
    ASSERT_TRUE(QTest::qWaitFor([&] { return sawEditor; }, 8000));
    // Cancel added nothing.
    EXPECT_EQ(dir.read("PhoneBk.dat"), "Hansen\r\nKari\r\n201\r\n");
}

TEST_F(NotificationTest, WithoutANotificationServiceCallsGoOnQuietly)
{
    ASSERT_TRUE(startApp());
    ring("555", "1");
    ring("556", "1");
    QCoreApplication::processEvents();
    EXPECT_EQ(app->core().callLog().size(), 2);
    EXPECT_EQ(sound.played.size(), 2);
}
