#include "calllog/CallLog.h"
#include "phonebook/PhoneBook.h"
#include "platform/ListObserver.h"
#include "support/FakeClock.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <gtest/gtest.h>
#include <random>

using test::FakeClock;

namespace {

class CountingObserver : public ListObserver
{
public:
    int inserts = 0, removes = 0, resets = 0, changes = 0;
    bool open = false; // a begin is waiting for its end

    void beginInsertRows(int, int) override { begin(inserts); }
    void endInsertRows() override { end(); }
    void beginRemoveRows(int, int) override { begin(removes); }
    void endRemoveRows() override { end(); }
    void beginResetRows() override { begin(resets); }
    void endResetRows() override { end(); }
    void rowChanged(int) override { ++changes; }

private:
    void begin(int& count)
    {
        EXPECT_FALSE(open);
        open = true;
        ++count;
    }
    void end()
    {
        EXPECT_TRUE(open);
        open = false;
    }
};

std::vector<std::vector<std::string>> rowsOf(const CallLog& log)
{
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < log.size(); ++row) {
        const CallRecord& r = log.at(row);
        rows.push_back({r.date, r.time, r.msn, r.callerNumber, r.callerName});
    }
    return rows;
}

using Rows = std::vector<std::vector<std::string>>;

const LocalDateTime kWhen{2026, 12, 6, 2, 39, 46};

} // namespace

TEST(CallLogFile, RoundTripsByteForByte)
{
    test::TempDataDir dir;
    const std::string file = "06-Des-2026\r\n02:39:46\r\n7654321\r\n0212345678\r\n"
                             "07-Des-2026\r\n10:00:00\r\nUkjent nummer\r\nUkjent nummer\r\n"
                             "\r\n\r\n\r\n\r\n";
    dir.write("CallID.dat", file);
    dir.write("PhoneBk.dat", "Hansen\r\nKari\r\n0212345678\r\n");
    CallLog log(dir.path());
    LoadCallLog(log);
    EXPECT_EQ(rowsOf(log),
              (Rows{{"06-Des-2026", "02:39:46", "7654321", "0212345678", "Kari Hansen"},
                    {"07-Des-2026", "10:00:00", "Ukjent nummer", "Ukjent nummer", "???"},
                    {"", "", "", "", "???"}}));
    EXPECT_FALSE(log.unsaved());
    ASSERT_TRUE(SaveCallLog(log));
    EXPECT_EQ(dir.read("CallID.dat"), file);
}

TEST(CallLogFile, WhatItWritesItReadsBackWhateverTheLengths)
{
    // A number of exactly one read buffer less its zero, and one longer
    // (cut when it is written): the rows behind them stay where they were
    // through a save and two loads.
    test::TempDataDir dir;
    const FakeClock clock(kWhen);
    CallLog log(dir.path());
    for (const std::string& number :
         {std::string(199, '1'), std::string("555"), std::string(250, '2'), std::string("")})
        ASSERT_TRUE(AddCall(log, number, std::string(199, '9'), clock));
    ASSERT_TRUE(SaveCallLog(log));
    const std::string written = dir.read("CallID.dat");
    for (int load = 0; load < 2; ++load) {
        CallLog again(dir.path());
        LoadCallLog(again);
        ASSERT_EQ(again.size(), 4);
        EXPECT_EQ(again.at(0).callerNumber, std::string(199, '1'));
        EXPECT_EQ(again.at(1).callerNumber, "555");
        EXPECT_EQ(again.at(2).callerNumber, std::string(199, '2'));
        EXPECT_EQ(again.at(3).msn, std::string(199, '9'));
        ASSERT_TRUE(SaveCallLog(again));
        EXPECT_EQ(dir.read("CallID.dat"), written);
    }
}

TEST(CallLogFile, GroupsOfFourWhateverTheyHold)
{
    test::TempDataDir dir;
    // Six lines, LF only, the last without its line end: two rows, the
    // second with only a date and a time, and no name.
    dir.write("CallID.dat", "01-Jan-2027\n08:00:00\n111\n222\n02-Jan-2027\n09:00:00");
    CallLog log(dir.path());
    LoadCallLog(log);
    EXPECT_EQ(rowsOf(log), (Rows{{"01-Jan-2027", "08:00:00", "111", "222", "???"},
                                 {"02-Jan-2027", "09:00:00", "", "", ""}}));
    // Saved back as eight lines.
    ASSERT_TRUE(SaveCallLog(log));
    EXPECT_EQ(dir.read("CallID.dat"), "01-Jan-2027\r\n08:00:00\r\n111\r\n222\r\n"
                                      "02-Jan-2027\r\n09:00:00\r\n\r\n\r\n");

    // A line of 250 characters is read as two lines and shifts the rest.
    const std::string longLine(250, '5');
    dir.write("CallID.dat", "d\r\nt\r\nm\r\n" + longLine + "\r\nd2\r\nt2\r\nm2\r\nn2\r\n");
    CallLog shifted(dir.path());
    LoadCallLog(shifted);
    EXPECT_EQ(rowsOf(shifted), (Rows{{"d", "t", "m", std::string(199, '5'), "???"},
                                     {std::string(51, '5'), "d2", "t2", "m2", "???"},
                                     {"n2", "", "", "", ""}}));
}

TEST(CallLogFile, EmptyMissingAndRandomFiles)
{
    test::TempDataDir dir;
    CallLog log(dir.path());
    LoadCallLog(log); // no file
    EXPECT_EQ(log.size(), 0);
    ASSERT_TRUE(SaveCallLog(log));
    EXPECT_TRUE(dir.exists("CallID.dat"));
    EXPECT_EQ(dir.read("CallID.dat"), "");
    LoadCallLog(log);
    EXPECT_EQ(log.size(), 0);

    std::mt19937 random(1207);
    for (int round = 0; round < 30; ++round) {
        std::string bytes(size_t(1 + random() % 4000), '\0');
        for (char& c : bytes)
            c = static_cast<char>(random());
        dir.write("CallID.dat", bytes);
        CallLog any(dir.path());
        LoadCallLog(any);
        EXPECT_GE(any.size(), 1);
        for (int row = 0; row < any.size(); ++row) {
            EXPECT_LE(any.at(row).date.size(), kMaxCallLogField);
            EXPECT_LE(any.at(row).callerNumber.size(), kMaxCallLogField);
        }
    }
}

TEST(CallLogFile, LoadingAppendsAfterTheRowsInMemory)
{
    test::TempDataDir dir;
    dir.write("CallID.dat", "d1\r\nt1\r\nm1\r\nn1\r\nd2\r\nt2\r\nm2\r\nn2\r\n");
    CallLog log(dir.path());
    ASSERT_TRUE(AddCall(log, "5", "6", FakeClock(kWhen)));
    CountingObserver observer;
    log.setObserver(&observer);
    LoadCallLog(log, PhoneBookIndex::read(dir.path(), log.numbers()));
    ASSERT_EQ(log.size(), 3);
    EXPECT_EQ(log.at(0).callerNumber, "5");
    EXPECT_EQ(log.at(2).callerNumber, "n2");
    EXPECT_EQ(observer.inserts, 1); // one notification for the whole file
}

TEST(ReloadCallLog, NamesFollowThePhoneBook)
{
    test::TempDataDir dir;
    CallLog log(dir.path());
    const FakeClock clock(kWhen);
    ASSERT_TRUE(AddCall(log, "201", "1", clock));
    ASSERT_TRUE(AddCall(log, "Ukjent nummer", "1", clock));
    ASSERT_TRUE(AddCall(log, "201", "1", clock));
    ASSERT_TRUE(SaveCallLog(log));
    EXPECT_EQ(log.at(0).callerName, "???");

    CountingObserver observer;
    log.setObserver(&observer);
    dir.write("PhoneBk.dat", "Hansen\r\nKari\r\n201\r\nVik\r\nPer\r\nUkjent nummer\r\n");
    ReloadCallLog(log);
    ASSERT_EQ(log.size(), 3);
    EXPECT_EQ(log.at(0).callerName, "Kari Hansen");
    EXPECT_EQ(log.at(2).callerName, "Kari Hansen");
    // A reload looks up every number, "Ukjent nummer" included.
    EXPECT_EQ(log.at(1).callerName, "Per Vik");
    EXPECT_EQ(observer.resets, 1);
    EXPECT_FALSE(observer.open);

    dir.write("PhoneBk.dat", "");
    ReloadCallLog(log);
    EXPECT_EQ(log.at(0).callerName, "???");
    EXPECT_EQ(log.at(1).callerName, "???");
}

TEST(ReloadCallLog, NeverDropsRowsThatAreNotInTheFile)
{
    test::TempDataDir dir;
    CallLog log(dir.path());
    const FakeClock clock(kWhen);
    ASSERT_TRUE(AddCall(log, "201", "1", clock));
    ASSERT_TRUE(SaveCallLog(log));

    // A row added without a save is written by the reload.
    ASSERT_TRUE(AddCall(log, "202", "1", clock));
    ReloadCallLog(log);
    EXPECT_EQ(log.size(), 2);
    EXPECT_FALSE(log.unsaved());
    EXPECT_NE(dir.read("CallID.dat").find("202"), std::string::npos);

    // A folder where the file should be: the saves fail.
    ASSERT_TRUE(QFile::remove(dir.file("CallID.dat")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("CallID.dat"));
    ASSERT_TRUE(AddCall(log, "203", "1", clock));
    EXPECT_FALSE(SaveCallLog(log));
    EXPECT_TRUE(log.unsaved());
    EXPECT_FALSE(DeleteCall(log, 0)); // the row goes, the save fails
    EXPECT_EQ(log.size(), 2);

    CountingObserver observer;
    log.setObserver(&observer);
    dir.write("PhoneBk.dat", "Hansen\r\nKari\r\n203\r\n");
    ReloadCallLog(log);
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log.at(0).callerNumber, "202");
    EXPECT_EQ(log.at(0).callerName, "???");
    EXPECT_EQ(log.at(1).callerNumber, "203");
    EXPECT_EQ(log.at(1).callerName, "Kari Hansen");
    EXPECT_TRUE(log.unsaved());
    EXPECT_EQ(observer.resets, 0);
    EXPECT_EQ(observer.changes, 1);

    // Once the file can be written again, the next reload saves all rows.
    ASSERT_TRUE(QDir(dir.path()).rmdir("CallID.dat"));
    ReloadCallLog(log);
    EXPECT_FALSE(log.unsaved());
    EXPECT_EQ(log.size(), 2);
    EXPECT_EQ(dir.read("CallID.dat"), "06-Des-2026\r\n02:39:46\r\n1\r\n202\r\n"
                                      "06-Des-2026\r\n02:39:46\r\n1\r\n203\r\n");
}
