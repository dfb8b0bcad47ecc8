// ringvakt-exchange as a user runs it: subcommands, exit codes, files.
#include "support/ExchangeProcess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/prctl.h>

namespace {

struct Outcome
{
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome run(const QStringList& arguments, const QProcessEnvironment& environment = {})
{
    QProcess process;
    if (!environment.isEmpty())
        process.setProcessEnvironment(environment);
    process.start(test::ExchangeProcess::defaultProgram(), arguments);
    Outcome result;
    if (!process.waitForFinished(10000)) {
        ADD_FAILURE() << "ringvakt-exchange did not finish";
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

TEST(CommandLineTest, ClientExitCodesFollowTheReply)
{
    test::ExchangeProcess exchange;
    ASSERT_TRUE(exchange.start());
    const QString control = exchange.controlPath();

    Outcome r = run({"status", "--control", control});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith("ok registered=0 connections=0 cm=0 silent=off "))
        << r.out.toStdString();

    r = run({"ring", "--control", control, "--from", "0212345678", "--to", "7654321"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "ok capi=0 cm=0\n");
    EXPECT_EQ(run({"ring", "--control", control, "--no-from", "--to", ""}).exitCode, 0);
    EXPECT_EQ(run({"silent", "--control", control, "on"}).out, "ok silent=on\n");
    EXPECT_EQ(run({"refuse", "--control", control, "--seconds", "0"}).exitCode, 0);

    r = run({"cm-raw", "--control", control, "x"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.startsWith("error no call monitor")) << r.out.toStdString();

    // Bad usage never reaches the exchange.
    for (const QStringList& bad :
         QList<QStringList>{{"ring", "--control", control, "--from", "1", "--no-from"},
                            {"ring", "--control", control},
                            {"silent", "--control", control, "maybe"},
                            {"raw", "--control", control, "8g"},
                            {"refuse", "--control", control, "--seconds", "-1"},
                            {"status", "--control", control, "--port", "5031"},
                            {"status", "--bogus"},
                            {"serve", "--port", "65536"},
                            {"dial"},
                            {}}) {
        r = run(bad);
        EXPECT_EQ(r.exitCode, 2) << bad.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
    }

    r = run({"status", "--control", exchange.directory() + "/none.sock"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("no exchange answers")) << r.err.toStdString();
    EXPECT_EQ(
        exchange.countLog(QRegularExpression(" CONTROL cmd=(status|ring|silent|refuse|cm-raw) ")),
        6);
}

TEST(CommandLineTest, VersionHelpAndCapiRc)
{
    EXPECT_EQ(run({"--version"}).out, "ringvakt-exchange 1.52\n");
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("write-capirc --home DIR"));

    QTemporaryDir home;
    EXPECT_EQ(run({"write-capirc", "--home", home.path(), "--port", "4321"}).exitCode, 0);
    QFile rc(home.filePath(".capi20rc"));
    ASSERT_TRUE(rc.open(QIODevice::ReadOnly));
    EXPECT_EQ(rc.readAll(), "REMOTE fritzbox 127.0.0.1 4321\nTRACELEVEL 0\n");
    EXPECT_EQ(run({"write-capirc", "--home", home.filePath("missing")}).exitCode, 1);
}

TEST(CommandLineTest, DefaultControlSocketFollowsThePortAndGoesAwayOnSigterm)
{
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    QProcess serve;
    serve.setProcessEnvironment(environment);
    // Ends with the test even when the test dies before it can stop it.
    serve.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    const QString portFile = runtime.filePath("port");
    serve.start(
        test::ExchangeProcess::defaultProgram(),
        {"serve", "--port", "0", "--port-file", portFile, "--log", runtime.filePath("log")});
    QDeadlineTimer deadline(10000);
    while (!QFile::exists(portFile) && !deadline.hasExpired())
        serve.waitForFinished(10);
    QFile file(portFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString port = QString::fromLatin1(file.readAll()).trimmed();
    const QString socket = runtime.filePath("ringvakt-exchange-" + port + ".sock");
    EXPECT_TRUE(QFile::exists(socket));

    const Outcome r = run({"status", "--port", port}, environment);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();

    ::kill(pid_t(serve.processId()), SIGTERM);
    ASSERT_TRUE(serve.waitForFinished(10000));
    EXPECT_EQ(serve.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(serve.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(socket));
    EXPECT_EQ(serve.readAllStandardError(), "");
}

TEST(CommandLineTest, QuitEndsTheExchangeCleanly)
{
    test::ExchangeProcess exchange;
    ASSERT_TRUE(exchange.start());
    const QString socket = exchange.controlPath();
    EXPECT_TRUE(QFile::exists(socket));
    EXPECT_EQ(exchange.stop(), 0);
    EXPECT_FALSE(QFile::exists(socket));
    EXPECT_TRUE(exchange.logLines().last().endsWith(" CONTROL cmd=stop reason=quit"));

    // A second exchange must not take over a socket that still answers.
    test::ExchangeProcess first;
    ASSERT_TRUE(first.start());
    const Outcome second = run({"serve", "--port", "0", "--control", first.controlPath()});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_TRUE(second.err.contains("already answers")) << second.err.toStdString();
    EXPECT_TRUE(first.status().startsWith("ok "));
}

} // namespace
