#include "FakeNotificationProcess.h"
#include "SessionBus.h"
#include "sound/SoundAnalysis.h"
#include "support/ExchangeProcess.h"
#include "support/FileUtil.h"
#include "support/NeededService.h"
#include "support/QtPrinting.h"
#include "support/RingvaktProcess.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using test::ExchangeProcess;
using test::RingvaktProcess;

namespace {

// The real program rung through ringvakt-exchange, with its own session bus
// and a notification service of the test's own in another process, which
// writes each notification as a line of its log.
class NotificationProcessTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RINGVAKT_NEED_SERVICE(!bus.address().isEmpty(), "dbus-daemon could not be started");
        ASSERT_TRUE(server.start(bus.address(), dir.filePath("notifications.log")));
        ringvakt.setEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS", bus.address());
        ASSERT_TRUE(exchange.start());
        ASSERT_TRUE(exchange.writeCapiRc(ringvakt.home()));
    }

    QStringList lines() const { return server.lines(); }

    test::SessionBus bus;
    QTemporaryDir dir;
    test::FakeNotificationProcess server;
    ExchangeProcess exchange;
    RingvaktProcess ringvakt;
};

} // namespace

TEST_F(NotificationProcessTest, RingsThroughTheExchangeBecomeNotifications)
{
    test::writeFile(ringvakt.settingsFile(), "[V1.51]\nNOTIFY=2\nMSN_LOG=1\nMSN_1=7654321\n");
    test::writeFile(ringvakt.dataFile("PhoneBk.dat"), "Hansen\r\nKari\r\n0212345678\r\n");
    ASSERT_TRUE(ringvakt.start());
    ASSERT_FALSE(exchange.waitForLog(QRegularExpression(" LISTEN_REQ appl=")).isEmpty());

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
}

TEST_F(NotificationProcessTest, AnImportedContactIsNamedWhateverTheFormOfItsNumber)
{
    // The phone's card has the number as people write it; the line delivers
    // it in international form. Kari's own sound is a second of 440 Hz.
    test::writeFile(ringvakt.settingsFile(), "[V1.51]\nNOTIFY=2\nCOUNTRY=NO\nBEEP=4\nPSOUND=2\n");
    const QString card = dir.filePath("kari.vcf");
    test::writeFile(card, "BEGIN:VCARD\nVERSION:3.0\nN:Hansen;Kari;;;\nFN:Kari Hansen\n"
                          "TEL;TYPE=HOME:22 12 34 56\nEND:VCARD\n");
    ASSERT_EQ(ringvakt.runOnce({"--import", card}).exitCode, 0);
    ASSERT_EQ(test::readFile(ringvakt.dataFile("PhoneBk.dat")), "Hansen\r\nKari\r\n22123456\r\n");
    test::writeFile(ringvakt.dataFile("sound/22123456.wav"),
                    test::sineWav(440, 1000, 44100, 1, 16).toStdString());
    ASSERT_TRUE(ringvakt.start());
    ASSERT_FALSE(exchange.waitForLog(QRegularExpression(" LISTEN_REQ appl=")).isEmpty());

    exchange.ring("+4722123456", "7654321");
    ASSERT_TRUE(RingvaktProcess::waitUntil([&] { return lines().size() == 1; }));
    EXPECT_EQ(lines()[0], "id=1 replaces=0 summary=Ringvakt category=call "
                          "icon=no.tornholt.Ringvakt actions= "
                          "body=Kari Hansen|Tlf.Nummer: +4722123456|Ringer til MSN: 7654321");
    EXPECT_TRUE(test::readFile(ringvakt.dataFile("CallID.dat")).find("\r\n+4722123456\r\n") !=
                std::string::npos);
    // The entry's sound, whole, out of the sound output.
    std::vector<test::Burst> bursts;
    ASSERT_TRUE(RingvaktProcess::waitUntil([&] {
        bursts = test::wholeBursts(ringvakt.audioFile());
        return !bursts.empty();
    }));
    EXPECT_NEAR(bursts[0].frequencyHz, 440, 10);
    EXPECT_NEAR(bursts[0].durationMs, 1000, 30);
    EXPECT_EQ(ringvakt.terminate(), 0);
    EXPECT_EQ(ringvakt.unexpectedErrors(), "");
}
