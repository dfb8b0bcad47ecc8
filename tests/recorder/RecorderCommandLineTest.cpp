#include "RecorderCommandLine.h"

#include "support/QtPrinting.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

using Action = RecorderCommandLine::Action;

struct ProgramRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

ProgramRun runRecorder(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(RINGVAKT_RECORDER_EXE), arguments);
    ProgramRun run;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "ringvakt-recorder did not end";
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

} // namespace

TEST(RecorderCommandLineTest, ParsesNewAndThePath)
{
    RecorderCommandLine c = parseRecorderCommandLine({"/NEW", "/tmp/sound/201.wav"});
    EXPECT_EQ(c.action, Action::Record);
    EXPECT_EQ(c.path, "/tmp/sound/201.wav");
    // One argument, whatever it holds: blanks, quotes, semicolons.
    c = parseRecorderCommandLine({"/new", "/tmp/a b;'$(x)'.wav"});
    EXPECT_EQ(c.action, Action::Record);
    EXPECT_EQ(c.path, "/tmp/a b;'$(x)'.wav");

    for (const QStringList& wrong :
         {QStringList{}, QStringList{"/NEW"}, QStringList{"/OLD", "x.wav"}, QStringList{"x.wav"},
          QStringList{"/NEW", "a.wav", "b.wav"}, QStringList{"/NEW", ""},
          QStringList{"--bogus", "/NEW", "x.wav"}}) {
        c = parseRecorderCommandLine(wrong);
        EXPECT_EQ(c.action, Action::Error) << wrong.join(' ').toStdString();
        EXPECT_FALSE(c.error.isEmpty());
    }
    EXPECT_EQ(parseRecorderCommandLine({"--help"}).action, Action::Help);
    EXPECT_EQ(parseRecorderCommandLine({"-v"}).action, Action::Version);
}

TEST(RecorderCommandLineTest, ProgramHelpVersionAndUsageErrors)
{
    ProgramRun run = runRecorder({"--version"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "ringvakt-recorder 1.52\n");
    EXPECT_TRUE(run.err.isEmpty());

    run = runRecorder({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith("Usage: ringvakt-recorder /NEW <file.wav>"));

    test::TempDataDir dir;
    for (const QStringList& wrong : {QStringList{}, QStringList{"/NEW"}, QStringList{"--bogus"},
                                     QStringList{"/NEW", dir.file("a.wav"), dir.file("b.wav")}}) {
        run = runRecorder(wrong);
        EXPECT_EQ(run.exitCode, 2) << wrong.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains("Usage: ringvakt-recorder"));
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty()) << "a usage error writes nothing";
}
