#include "calllog/CallLog.h"

#include "support/FakeClock.h"
#include "support/RecordingObserver.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using test::FakeClock;

namespace {

using test::RecordingObserver;

using Strings = std::vector<std::string>;

const LocalDateTime kFirstOfMarch{2027, 3, 1, 9, 5, 3};

} // namespace

TEST(CallDate, NorwegianMonthsAndTwoDigitFields)
{
    EXPECT_EQ(FormatCallDate({2026, 12, 6, 2, 39, 46}), "06-Des-2026");
    EXPECT_EQ(FormatCallTime({2026, 12, 6, 2, 39, 46}), "02:39:46");
    EXPECT_EQ(FormatCallDate(kFirstOfMarch), "01-Mar-2027");
    EXPECT_EQ(FormatCallTime(kFirstOfMarch), "09:05:03");
    EXPECT_EQ(FormatCallTime({2027, 1, 1, 0, 0, 0}), "00:00:00");
    EXPECT_EQ(FormatCallTime({2027, 1, 1, 23, 59, 59}), "23:59:59");
    const Strings months = {"Jan", "Feb", "Mar", "Apr", "Mai", "Jun",
                            "Jul", "Aug", "Sep", "Okt", "Nov", "Des"};
    for (int month = 1; month <= 12; ++month)
        EXPECT_EQ(FormatCallDate({999, month, 31, 0, 0, 0}),
                  "31-" + months[size_t(month - 1)] + "-999");

    // The system clock gives a plausible local moment.
    const LocalDateTime now = SystemClock().now();
    EXPECT_GE(now.year, 2020);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12);
    EXPECT_TRUE(now.hour >= 0 && now.hour <= 23);
}

TEST(AddCall, BuildsTheRowAndNamesTheCaller)
{
    test::TempDataDir dir;
    dir.write("PhoneBk.dat", "Hansen\r\nKari\r\n201\r\n"
                             "Olsen\r\n\r\n202\r\n"
                             "Vik\r\nPer\r\nUkjent nummer\r\n");
    CallLog log(dir.path());
    RecordingObserver observer;
    log.setObserver(&observer);
    const FakeClock clock(kFirstOfMarch);

    ASSERT_TRUE(AddCall(log, "201", "7654321", clock));
    ASSERT_TRUE(AddCall(log, "202", "7654321", clock));
    ASSERT_TRUE(AddCall(log, "Ukjent nummer", "Ukjent nummer", clock));
    ASSERT_TRUE(AddCall(log, "2012", "", clock));
    ASSERT_EQ(log.size(), 4);

    const CallRecord& first = log.at(0);
    EXPECT_EQ(first.date, "01-Mar-2027");
    EXPECT_EQ(first.time, "09:05:03");
    EXPECT_EQ(first.msn, "7654321");
    EXPECT_EQ(first.callerNumber, "201");
    EXPECT_EQ(first.callerName, "Kari Hansen");
    EXPECT_EQ(log.at(1).callerName, " Olsen"); // the blank is always there
    // "Ukjent nummer" is not looked up when a call comes in.
    EXPECT_EQ(log.at(2).callerName, "???");
    EXPECT_EQ(log.at(3).callerName, "???");
    EXPECT_EQ(log.at(3).msn, "");
    EXPECT_TRUE(log.unsaved());
    EXPECT_FALSE(dir.exists("CallID.dat")); // adding does not save

    EXPECT_EQ(observer.events,
              (Strings{"+0..0", "+end", "+1..1", "+end", "+2..2", "+end", "+3..3", "+end"}));
}

TEST(AddCall, RefusesLineBreaks)
{
    test::TempDataDir dir;
    CallLog log(dir.path());
    const FakeClock clock(kFirstOfMarch);
    EXPECT_FALSE(AddCall(log, "20\r\n1", "1", clock));
    EXPECT_FALSE(AddCall(log, "201", "12\n", clock));
    EXPECT_FALSE(AddCall(log, "\r", "1", clock));
    EXPECT_EQ(log.size(), 0);
    EXPECT_FALSE(log.unsaved());
}

TEST(CallLog, DeleteAndClearSaveAtOnce)
{
    test::TempDataDir dir;
    CallLog log(dir.path());
    const FakeClock clock(kFirstOfMarch);
    for (const char* number : {"1", "2", "3"})
        ASSERT_TRUE(AddCall(log, number, "9", clock));
    ASSERT_TRUE(SaveCallLog(log));
    EXPECT_FALSE(log.unsaved());

    RecordingObserver observer;
    log.setObserver(&observer);
    EXPECT_FALSE(DeleteCall(log, 3));
    EXPECT_FALSE(DeleteCall(log, -1));
    ASSERT_TRUE(DeleteCall(log, 1));
    EXPECT_EQ(dir.read("CallID.dat"), "01-Mar-2027\r\n09:05:03\r\n9\r\n1\r\n"
                                      "01-Mar-2027\r\n09:05:03\r\n9\r\n3\r\n");
    ASSERT_TRUE(ClearCallLog(log));
    EXPECT_EQ(log.size(), 0);
    EXPECT_TRUE(dir.exists("CallID.dat"));
    EXPECT_EQ(dir.read("CallID.dat"), "");
    ASSERT_TRUE(ClearCallLog(log)); // an empty log clears and saves too
    EXPECT_EQ(observer.events, (Strings{"-1..1", "-end", "-0..1", "-end"}));
}

TEST(AddCall, TheNamesFollowEveryVersionOfThePhoneBook)
{
    // The book's numbers are read once a version, and every change is seen:
    // one of the same size, made at once, and the book's going.
    test::TempDataDir dir;
    CallLog log(dir.path());
    const FakeClock clock;
    dir.write("PhoneBk.dat", "Dahl\r\nNils\r\n22123456\r\n");
    ASSERT_TRUE(AddCall(log, "+4722123456", "1", clock));
    dir.write("PhoneBk.dat", "Dahl\r\nNina\r\n22123456\r\n");
    ASSERT_TRUE(AddCall(log, "004722123456", "1", clock));
    ASSERT_TRUE(QFile::remove(dir.file("PhoneBk.dat")));
    ASSERT_TRUE(AddCall(log, "22123456", "1", clock));
    EXPECT_EQ(log.at(0).callerName, "Nils Dahl");
    EXPECT_EQ(log.at(1).callerName, "Nina Dahl");
    EXPECT_EQ(log.at(2).callerName, "???");
}
