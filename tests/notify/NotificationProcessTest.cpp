#include "SessionBus.h"
#include "support/ExchangeProcess.h"
#include "support/FileUtil.h"
#include "support/QtPrinting.h"
#include "support/RingvaktProcess.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using test::ExchangeProcess;
using test::RingvaktProcess;

// The real program rung through ringvakt-exchange, with its own session bus
// and a notification service of the test's own in another process.
TEST(NotificationProcessTest, RingsThroughTheExchangeBecomeNotifications)
{
    test::SessionBus bus;
    if (bus.address().isEmpty())
        GTEST_SKIP() << "dbus-daemon could not be started";
    QTemporaryDir dir;
    const QString log = dir.filePath("notifications.log");
    QProcess server;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SESSION_BUS_ADDRESS", bus.address());
    server.setProcessEnvironment(env);
    server.start(qEnvironmentVariable("RINGVAKT_BUILD_DIR") +
                     "/tests/notify/ringvakt-fake-notifications",
                 {log});
    ASSERT_TRUE(server.waitForReadyRead(10000));
    ASSERT_EQ(server.readAllStandardOutput().trimmed(), "ready");

    ExchangeProcess exchange;
    RingvaktProcess ringvakt;
    ringvakt.setEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS", bus.address());
    ASSERT_TRUE(exchange.start());
    ASSERT_TRUE(exchange.writeCapiRc(ringvakt.home()));
    test::writeFile(ringvakt.settingsFile(), "[V1.51]\nNOTIFY=2\nMSN_LOG=1\nMSN_1=7654321\n");
    test::writeFile(ringvakt.dataFile("PhoneBk.dat"), "Hansen\r\nKari\r\n0212345678\r\n");
    ASSERT_TRUE(ringvakt.start());
    ASSERT_FALSE(exchange.waitForLog(QRegularExpression(" LISTEN_REQ appl=")).isEmpty());

    auto lines = [&] {
        return QString::fromStdString(test::readFile(log)).split('\n', Qt::SkipEmptyParts);
    };
    // After every call the program registers and listens anew; the next ring
    // waits for that, as a line would otherwise ring nobody.
    const QRegularExpression listening(" LISTEN_REQ appl=");
    exchange.ring("0212345678", "7654321");
    ASSERT_TRUE(RingvaktProcess::waitUntil([&] { return lines().size() == 1; }));
    ASSERT_TRUE(exchange.waitForLogCount(listening, 2));
    exchange.ring("555", "1111111"); // another MSN: no call at all
    ASSERT_TRUE(exchange.waitForLogCount(listening, 3));
    exchange.ring("98765432", "7654321");
    ASSERT_TRUE(RingvaktProcess::waitUntil([&] { return lines().size() == 2; }));
    EXPECT_EQ(lines()[0], "id=1 replaces=0 summary=Ringvakt category=call "
                          "icon=no.tornholt.Ringvakt actions= "
                          "body=Kari Hansen|Tlf.Nummer: 0212345678|Ringer til MSN: 7654321");
    EXPECT_EQ(lines()[1], "id=1 replaces=1 summary=Ringvakt category=call "
                          "icon=no.tornholt.Ringvakt actions=add-to-phone-book,-> Katalog "
                          "body=???|Tlf.Nummer: 98765432|Ringer til MSN: 7654321");
    EXPECT_EQ(ringvakt.terminate(), 0);
    EXPECT_EQ(ringvakt.unexpectedErrors(), "");
    server.kill();
    server.waitForFinished();
}
