#include "support/ExchangeProcess.h"
#include "support/FileUtil.h"
#include "support/QtPrinting.h"
#include "support/RingvaktProcess.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using test::ExchangeProcess;
using test::RingvaktProcess;

namespace {

// A file as it reads whatever second each desktop wrote its rows in.
QString withoutClockTimes(const QString& path)
{
    QString text = QString::fromStdString(test::readFile(path));
    return text.replace(QRegularExpression(QStringLiteral("\\b\\d\\d:\\d\\d:\\d\\d\\b")),
                        QStringLiteral("hh:mm:ss"));
}

} // namespace

// One Norwegian and one German desktop on the same call monitor, rung the
// same calls: the files they write are the same, byte for byte (the
// Windows program reads them: month names, "Ukjent nummer" and the
// outcomes stay as they are stored).
TEST(LanguageTest, TheDataFilesAreTheSameWhateverTheLanguage)
{
    ExchangeProcess exchange;
    ExchangeProcess::Options options;
    options.callMonitor = true;
    ASSERT_TRUE(exchange.start(options));
    RingvaktProcess norsk;
    RingvaktProcess tysk;
    tysk.setEnvironmentVariable(QStringLiteral("LANGUAGE"), QStringLiteral("de"));
    for (RingvaktProcess* desktop : {&norsk, &tysk}) {
        test::writeFile(desktop->settingsFile(),
                        "[V1.51]\nLINE=2\nCALLMONITOR_HOST=127.0.0.1\nCALLMONITOR_PORT=" +
                            std::to_string(exchange.callMonitorPort()) + "\nBEEP=4\n");
        test::writeFile(desktop->dataFile("PhoneBk.dat"), "Hansen\r\nKari\r\n22123456\r\n");
        ASSERT_TRUE(desktop->start());
    }
    ASSERT_TRUE(exchange.waitForLogCount(QRegularExpression(" CM_OPEN( |$)"), 2));

    // Kari, taken; an unknown caller nobody took; an anonymous caller.
    exchange.ring("22123456", "7654321");
    exchange.command(QStringLiteral("connect extension=1"));
    exchange.command(QStringLiteral("disconnect seconds=75"));
    exchange.ring("555", "7654321");
    exchange.command(QStringLiteral("disconnect"));
    exchange.ringAnonymous("7654321");
    for (RingvaktProcess* desktop : {&norsk, &tysk}) {
        ASSERT_TRUE(RingvaktProcess::waitUntil([&] {
            return test::callersIn(desktop->dataFile("CallID.dat")).size() == 3 &&
                   withoutClockTimes(desktop->dataFile("CallStatus.dat")).count('\n') >= 3;
        })) << test::readFile(desktop->dataFile("CallID.dat"));
    }
    EXPECT_EQ(norsk.terminate(), 0);
    EXPECT_EQ(tysk.terminate(), 0);

    for (const char* file : {"CallID.dat", "CallStatus.dat", "PhoneBk.dat"}) {
        EXPECT_EQ(withoutClockTimes(tysk.dataFile(file)), withoutClockTimes(norsk.dataFile(file)))
            << file;
    }
    EXPECT_EQ(test::readFile(tysk.settingsFile()), test::readFile(norsk.settingsFile()));
    const QString calls = withoutClockTimes(norsk.dataFile("CallID.dat"));
    EXPECT_TRUE(calls.contains("\r\nUkjent nummer\r\n")) << calls.toStdString();
    EXPECT_EQ(tysk.unexpectedErrors(), "");
}
