#include "support/ExchangeProcess.h"
#include "support/FileUtil.h"
#include "support/QtPrinting.h"
#include "support/RingvaktProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using test::ExchangeProcess;
using test::RingvaktProcess;

TEST(OptionsTest, HelpVersionAndWrongUse)
{
    RingvaktProcess ringvakt;
    RingvaktProcess::Run run = ringvakt.runOnce({"--version"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "Ringvakt 1.52\n");

    run = ringvakt.runOnce({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith("Usage: ringvakt [options]"));
    for (const char* part : {"--data-dir", "--desktop-data", "--session-start", "--autostart",
                             "CallID.dat", "Exit codes"})
        EXPECT_TRUE(run.out.contains(part)) << part;

    // Wrong use: usage on standard error, exit code 2, nothing started (no
    // settings written, no lock taken, nothing in the data directory).
    for (const QStringList& args :
         {QStringList{"--bogus"}, QStringList{"--autostart", "maybe"}, QStringList{"--data-dir"},
          QStringList{"--data-dir", "x", "--desktop-data"}, QStringList{"stray"}}) {
        run = ringvakt.runOnce(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("Usage: ringvakt")) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(ringvakt.settingsFile()));
    EXPECT_TRUE(QDir(ringvakt.dataDir()).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(ringvakt.home() + "/run/ringvakt.lock"));
}

TEST(OptionsTest, DataDirOnAFreshDirectory)
{
    ExchangeProcess exchange;
    RingvaktProcess ringvakt;
    ASSERT_TRUE(exchange.start());
    ASSERT_TRUE(exchange.writeCapiRc(ringvakt.home()));
    const QString data = ringvakt.home() + "/elsewhere/Ringvakt data";
    ASSERT_TRUE(ringvakt.start({"--data-dir", data}));
    ASSERT_FALSE(exchange.waitForLog(QRegularExpression(" LISTEN_REQ appl=")).isEmpty());
    exchange.ring("4711", "1");
    ASSERT_TRUE(
        RingvaktProcess::waitUntil([&] { return QFileInfo(data + "/CallID.dat").size() > 0; }));
    EXPECT_TRUE(QFileInfo(data + "/sound").isDir());
    EXPECT_TRUE(QDir(ringvakt.dataDir()).isEmpty()) << "nothing in the working directory";
    EXPECT_EQ(ringvakt.terminate(), 0);
}

TEST(OptionsTest, DesktopDataIsTheUsersDataDirectory)
{
    ExchangeProcess exchange;
    RingvaktProcess ringvakt;
    ASSERT_TRUE(exchange.start());
    ASSERT_TRUE(exchange.writeCapiRc(ringvakt.home()));
    ASSERT_TRUE(ringvakt.start({"--desktop-data"}));
    const QString data = ringvakt.home() + "/.local/share/Ringvakt";
    ASSERT_TRUE(RingvaktProcess::waitUntil([&] { return QFileInfo(data + "/sound").isDir(); }));
    EXPECT_TRUE(QDir(ringvakt.dataDir()).isEmpty());
    EXPECT_EQ(ringvakt.terminate(), 0);
}

TEST(OptionsTest, ADataDirThatCannotBeHadStartsNothing)
{
    ExchangeProcess exchange;
    RingvaktProcess ringvakt;
    ASSERT_TRUE(exchange.start());
    ASSERT_TRUE(exchange.writeCapiRc(ringvakt.home()));
    test::writeFile(ringvakt.home() + "/a-file", "x");
    for (const QString& dir : {ringvakt.home() + "/a-file", ringvakt.home() + "/a-file/sub"}) {
        const RingvaktProcess::Run run = ringvakt.runOnce({"--data-dir", dir});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains("data directory")) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(dir)) << run.err.toStdString();
    }
    EXPECT_EQ(exchange.countLog(QRegularExpression(" REGISTER ")), 0);
    EXPECT_FALSE(QFileInfo::exists(ringvakt.settingsFile()));
}

TEST(OptionsTest, AutostartOnAndOff)
{
    RingvaktProcess ringvakt;
    const QString entry = ringvakt.home() + "/.config/autostart/no.tornholt.Ringvakt.desktop";
    RingvaktProcess::Run run = ringvakt.runOnce({"--autostart", "on"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains(entry)) << run.out.toStdString();
    const QString text = QString::fromStdString(test::readFile(entry));
    EXPECT_TRUE(text.contains(QRegularExpression("\nExec=\\S*ringvakt --desktop-data "
                                                 "--session-start\n")))
        << text.toStdString();
    QProcess validate;
    validate.start("desktop-file-validate", {entry});
    ASSERT_TRUE(validate.waitForFinished(10000));
    EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardOutput().toStdString();
    EXPECT_TRUE(validate.readAllStandardOutput().isEmpty());

    run = ringvakt.runOnce({"--autostart=off"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains("no longer")) << run.out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(entry));
    run = ringvakt.runOnce({"--autostart", "off"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains("nothing to remove"));
}

TEST(OptionsTest, ImportAndExportFromTheCommandLine)
{
    RingvaktProcess ringvakt;
    test::writeFile(ringvakt.settingsFile(), "[V1.51]\nCOUNTRY=NO\n");
    test::writeFile(ringvakt.dataFile("PhoneBk.dat"), "Hansen\r\nKari\r\n22123456\r\n");
    test::writeFile(ringvakt.dataFile("CallID.dat"),
                    "01-Jan-2026\r\n10:00:00\r\n1\r\n004791300111\r\n");
    const QString router = ringvakt.home() + "/phonebook.xml";
    test::writeFile(router, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<phonebooks><phonebook>"
                            "<contact><person><realName>Per Lie</realName></person><telephony>"
                            "<number type=\"home\">+47 22 12 34 56</number>"
                            "<number type=\"mobile\">913 00 111</number></telephony></contact>"
                            "</phonebook></phonebooks>\n");
    const QString book = ringvakt.dataFile("PhoneBk.dat");
    RingvaktProcess::Run run = ringvakt.runOnce({"--import", router});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    // English on the command line, whatever the language of the windows
    // (Norwegian here).
    EXPECT_EQ(run.out,
              "Imported " + router + " into " + book + ": 1 new entry, 1 was already there\n");
    const std::string imported = "Hansen\r\nKari\r\n22123456\r\nLie\r\nPer\r\n91300111\r\n";
    EXPECT_EQ(test::readFile(book), imported);

    // What cannot be imported is said, with exit code 1, and changes nothing.
    const QString notes = ringvakt.home() + "/notes.txt";
    test::writeFile(notes, "Ring Per i morgen.\n");
    run = ringvakt.runOnce({"--import", notes});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err,
              "ringvakt: " + notes + ": The file is not a vCard, CSV or router phone book file.\n");
    run = ringvakt.runOnce({"--import", ringvakt.home() + "/nowhere.vcf"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.endsWith(": The file does not exist.\n")) << run.err.toStdString();
    EXPECT_EQ(test::readFile(book), imported);

    // The exports: the call log names the caller by the imported entry.
    const QString calls = ringvakt.home() + "/calls.csv";
    run = ringvakt.runOnce({"--export-calls", calls});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(test::readFile(calls),
              "\xEF\xBB\xBF"
              "Dato,Klokkeslett,MSN,Hvem ringte,Navn,Dato (ISO 8601),Status,Varighet\r\n"
              "01-Jan-2026,10:00:00,1,004791300111,Per Lie,2026-01-01,,\r\n");
    const QString cards = ringvakt.home() + "/book.vcf";
    run = ringvakt.runOnce({"--export-phonebook", cards});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QString::fromStdString(test::readFile(cards)).count("BEGIN:VCARD"), 2);
    run = ringvakt.runOnce({"--export-calls", ringvakt.home() + "/no/such/dir/calls.csv"});
    EXPECT_EQ(run.exitCode, 1);

    // One job a start.
    for (const QStringList& args :
         {QStringList{"--import"}, QStringList{"--import", router, "--export-calls", calls}}) {
        run = ringvakt.runOnce(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
    }
    EXPECT_EQ(test::readFile(book), imported);

    // An import while the program runs would be saved over by its phone
    // book window: refused.
    ExchangeProcess exchange;
    ASSERT_TRUE(exchange.start());
    ASSERT_TRUE(exchange.writeCapiRc(ringvakt.home()));
    ASSERT_TRUE(ringvakt.start());
    ASSERT_FALSE(exchange.waitForLog(QRegularExpression(" LISTEN_REQ appl=")).isEmpty());
    run = ringvakt.runOnce({"--import", router});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Ringvakt is running")) << run.err.toStdString();
    EXPECT_EQ(ringvakt.terminate(), 0);
}
