#include "support/ExchangeProcess.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString listenProgram()
{
    return qEnvironmentVariable("RINGVAKT_BUILD_DIR") + "/tools/listen/ringvakt-listen";
}

void startListen(QProcess& process, const QString& home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home);
    process.setProcessEnvironment(env);
    process.start(listenProgram(), {});
    ASSERT_TRUE(process.waitForStarted()) << listenProgram().toStdString();
}

// Reads standard output until a whole line has arrived.
QByteArray readLine(QProcess& process, int timeoutMs = 15000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!process.canReadLine() && !deadline.hasExpired())
        process.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
    return process.canReadLine() ? process.readLine() : QByteArray();
}

} // namespace

TEST(ListenToolTest, PrintsEachCallAndReleasesOnSigterm)
{
    QTemporaryDir home;
    test::ExchangeProcess exchange;
    ASSERT_TRUE(exchange.start());
    ASSERT_TRUE(exchange.writeCapiRc(home.path()));

    QProcess listen;
    startListen(listen, home.path());
    ASSERT_FALSE(exchange.waitForLog(QRegularExpression("LISTEN_REQ ")).isEmpty());
    exchange.ring("0212345678", "7654321");
    EXPECT_EQ(readLine(listen), "call from 0212345678 to 7654321\n");
    // Registered and listening again after the call.
    ASSERT_TRUE(exchange.waitForLogCount(QRegularExpression("LISTEN_REQ "), 2));
    exchange.ringAnonymous(QByteArray("55\x01"
                                      "5"));
    EXPECT_EQ(readLine(listen), "call from (none) to 55\\x015\n");

    listen.terminate(); // SIGTERM
    ASSERT_TRUE(listen.waitForFinished(15000));
    EXPECT_EQ(listen.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(listen.exitCode(), 0);
    // (The line may read the last release after the tool has ended.)
    exchange.waitForLogCount(QRegularExpression("RELEASE "), 3);
    EXPECT_EQ(exchange.countLog(QRegularExpression("RELEASE ")), 3);
}

TEST(ListenToolTest, FatalFailureGoesToStderrWithExitCodeOne)
{
    QTemporaryDir home;
    // A port where nothing listens: take a free one and give it back.
    quint16 port = 0;
    {
        QTcpServer server;
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
        port = server.serverPort();
    }
    QFile rc(home.filePath(".capi20rc"));
    ASSERT_TRUE(rc.open(QIODevice::WriteOnly));
    rc.write(QStringLiteral("REMOTE fritzbox 127.0.0.1 %1\nTRACELEVEL 0\n").arg(port).toUtf8());
    rc.close();

    QProcess listen;
    startListen(listen, home.path());
    ASSERT_TRUE(listen.waitForFinished(15000));
    EXPECT_EQ(listen.exitCode(), 1);
    EXPECT_EQ(listen.readAllStandardError(),
              "Ingen ISDN kort og/eller CAPI 2.0 32-bit driver installert !\n");
    EXPECT_TRUE(listen.readAllStandardOutput().isEmpty());
}
