#include "support/ExchangeProcess.h"
#include "support/FileUtil.h"
#include "support/QtPrinting.h"
#include "support/RingvaktProcess.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using test::ExchangeProcess;
using test::RingvaktProcess;

namespace {

const QRegularExpression kRegister(QStringLiteral(" REGISTER "));

// The program against the simulated line, with the line kept impatiently:
// calls bounded at 1.5 s, tries after 0.2, 0.4, 0.8 and then every 1.6 s,
// and a vanished line noticed after about 3 s of silence.
class LineLossTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ringvakt.setEnvironmentVariable("RINGVAKT_TEST_LINE_TIMING",
                                        "call=1500,retry=200:400:800:1600,keepalive=1:1:2");
    }

    bool startBoth()
    {
        if (!exchange.start() || !exchange.writeCapiRc(ringvakt.home()))
            return false;
        return ringvakt.start() && !exchange.waitForLog(test::kListenRequestLine).isEmpty();
    }

    bool stderrSays(const QString& text, int timeoutMs = 15000)
    {
        return RingvaktProcess::waitUntil([&] { return ringvakt.standardError().contains(text); },
                                          timeoutMs);
    }

    // Rings and waits until the call is in "CallID.dat".
    bool ringIsLogged(const QByteArray& from)
    {
        exchange.ring(from, "7654321");
        return RingvaktProcess::waitUntil([&] {
            return QString::fromStdString(test::readFile(ringvakt.dataFile("CallID.dat")))
                .contains(QString::fromLatin1(from));
        });
    }

    ExchangeProcess exchange;
    RingvaktProcess ringvakt;
};

} // namespace

TEST_F(LineLossTest, TheExchangeRestartsAndTheProgramListensAgain)
{
    ASSERT_TRUE(startBoth());
    ASSERT_TRUE(ringIsLogged("11111"));

    // Every connection dropped, the port closed for 10 s, then back.
    EXPECT_TRUE(exchange.refuse(10).startsWith("ok"));
    ASSERT_TRUE(stderrSays("line lost"));
    EXPECT_TRUE(ringvakt.isRunning());
    EXPECT_TRUE(ringvakt.messageBoxes().isEmpty()) << "no FEIL box for a lost line";

    ASSERT_TRUE(stderrSays("line back", 20000));
    ASSERT_TRUE(ringIsLogged("22222"));
    // Nothing logged before was lost, nothing logged twice.
    const std::string log = test::readFile(ringvakt.dataFile("CallID.dat"));
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 8);
    EXPECT_EQ(ringvakt.terminate(), 0);
    EXPECT_EQ(ringvakt.unexpectedErrors().split('\n').filter("line").size(), 2)
        << ringvakt.unexpectedErrors().toStdString();
}

TEST_F(LineLossTest, ASilentLineAtStartUpEndsTheProgramWithinTheBound)
{
    ASSERT_TRUE(exchange.start());
    ASSERT_TRUE(exchange.writeCapiRc(ringvakt.home()));
    exchange.silent(true);
    ASSERT_TRUE(ringvakt.start());
    EXPECT_EQ(ringvakt.waitForExit(15000), 1);
    ASSERT_EQ(ringvakt.messageBoxes().size(), 1);
    EXPECT_TRUE(ringvakt.messageBoxes()[0].startsWith("FEIL\t"));
}

TEST_F(LineLossTest, ALineThatStopsAnsweringIsNotAHang)
{
    ASSERT_TRUE(startBoth());
    // The router comes back, but its CAPI service accepts and says nothing.
    exchange.silent(true);
    exchange.drop();
    ASSERT_TRUE(stderrSays("line lost"));
    ASSERT_TRUE(exchange.waitForLogCount(kRegister, 3)) << "it keeps trying";
    EXPECT_TRUE(ringvakt.isRunning());

    exchange.silent(false);
    ASSERT_TRUE(stderrSays("line back", 20000));
    ASSERT_TRUE(ringIsLogged("33333"));

    // Ending does not wait for a line that does not answer.
    exchange.silent(true);
    exchange.drop();
    ASSERT_TRUE(RingvaktProcess::waitUntil(
        [&] { return ringvakt.standardError().count("line lost") == 2; }));
    EXPECT_EQ(ringvakt.terminate(), 0);
}

// A line that vanishes without closing the connection (a router that lost
// power): in a private network namespace of its own, the loopback device is
// taken down under the running program, so its packets go nowhere.
TEST_F(LineLossTest, AVanishedLineIsNoticedByKeepalive)
{
    if (qgetenv("RINGVAKT_NETNS_CHILD") != "1") {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("RINGVAKT_NETNS_CHILD", "1");
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start("unshare",
                    {"--user", "--map-root-user", "--net", QCoreApplication::applicationFilePath(),
                     "--gtest_filter=LineLossTest.AVanishedLineIsNoticedByKeepalive"});
        ASSERT_TRUE(child.waitForFinished(120000));
        if (child.exitCode() == 77)
            GTEST_SKIP() << "this machine has no private network namespaces";
        EXPECT_EQ(child.exitCode(), 0);
        return;
    }
    auto ip = [](const QStringList& args) { return QProcess::execute("ip", args) == 0; };
    if (!ip({"link", "set", "lo", "up"}))
        std::exit(77);

    ASSERT_TRUE(startBoth());
    ASSERT_TRUE(ip({"link", "set", "lo", "down"}));
    ASSERT_TRUE(stderrSays("line lost", 30000));
    EXPECT_TRUE(ringvakt.isRunning());

    ASSERT_TRUE(ip({"link", "set", "lo", "up"}));
    ASSERT_TRUE(stderrSays("line back", 30000));
    ASSERT_TRUE(ringIsLogged("44444"));
    EXPECT_EQ(ringvakt.terminate(), 0);
}
