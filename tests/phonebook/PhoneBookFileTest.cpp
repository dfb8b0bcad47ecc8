#include "PhoneBookTesting.h"
#include "phonebook/PhoneBook.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <gtest/gtest.h>
#include <random>

namespace {

std::vector<PhoneBookEntry> rows(const PhoneBookList& list)
{
    std::vector<PhoneBookEntry> entries;
    for (int row = 0; row < list.size(); ++row)
        entries.push_back(list.at(row));
    return entries;
}

std::vector<PhoneBookEntry> load(const test::TempDataDir& dir, const std::string& bytes,
                                 PhoneBookFileState expected = PhoneBookFileState::Read)
{
    dir.write("PhoneBk.dat", bytes);
    PhoneBookList list;
    EXPECT_EQ(LoadPhoneBook(list, dir.path()), expected);
    return rows(list);
}

using Entries = std::vector<PhoneBookEntry>;

} // namespace

TEST(PhoneBookFile, RoundTripsByteForByte)
{
    test::TempDataDir dir;
    const std::string file = "Hansen\r\nKari\r\n201\r\n"
                             "Olsen\r\n\r\n202\r\n"
                             "\xD8ien\r\n\xC5se\r\n\r\n";
    const Entries loaded = load(dir, file);
    EXPECT_EQ(
        loaded,
        (Entries{{"Hansen", "Kari", "201"}, {"Olsen", "", "202"}, {"\xD8ien", "\xC5se", ""}}));

    PhoneBookList list;
    LoadPhoneBook(list, dir.path());
    dir.write("PhoneBk.dat", "overwritten");
    ASSERT_TRUE(SavePhoneBook(list, dir.path()));
    EXPECT_EQ(dir.read("PhoneBk.dat"), file);
}

TEST(PhoneBookFile, ReadsLfEndsAMissingLastEndAndIncompleteEntries)
{
    test::TempDataDir dir;
    EXPECT_EQ(load(dir, "Olsen\nOla\n202\nHansen\nKari\n201"),
              (Entries{{"Hansen", "Kari", "201"}, {"Olsen", "Ola", "202"}}));

    // Four lines: the second entry has only a surname; saving writes six.
    EXPECT_EQ(load(dir, "Hansen\r\nKari\r\n201\r\nOlsen\r\n"),
              (Entries{{"Hansen", "Kari", "201"}, {"Olsen", "", ""}}));
    PhoneBookList list;
    LoadPhoneBook(list, dir.path());
    ASSERT_TRUE(SavePhoneBook(list, dir.path()));
    EXPECT_EQ(dir.read("PhoneBk.dat"), "Hansen\r\nKari\r\n201\r\nOlsen\r\n\r\n\r\n");

    EXPECT_EQ(load(dir, ""), Entries{});
    EXPECT_EQ(load(dir, "\r\n"), (Entries{{"", "", ""}}));
}

TEST(PhoneBookFile, LongLinesAreCutOrReadInPieces)
{
    test::TempDataDir dir;
    // 150 bytes fit a read of 254 but not a field of 99.
    const std::string longName(150, 'L');
    EXPECT_EQ(load(dir, longName + "\r\nKari\r\n201\r\n"),
              (Entries{{std::string(99, 'L'), "Kari", "201"}}));

    // 300 bytes are read as two lines (254 and 46), shifting the entry.
    const std::string tooLong(300, 'x');
    EXPECT_EQ(load(dir, tooLong + "\r\nKari\r\n201\r\n"),
              (Entries{{"201", "", ""}, {std::string(99, 'x'), std::string(46, 'x'), "Kari"}}));
}

TEST(PhoneBookFile, MissingAndUnreadableFiles)
{
    test::TempDataDir dir;
    PhoneBookList list;
    EXPECT_EQ(LoadPhoneBook(list, dir.path()), PhoneBookFileState::Missing);
    EXPECT_EQ(list.size(), 0);

    ASSERT_TRUE(QDir(dir.path()).mkdir("PhoneBk.dat"));
    EXPECT_EQ(LoadPhoneBook(list, dir.path()), PhoneBookFileState::Unreadable);
    EXPECT_EQ(list.size(), 0);
    // Nor can it be replaced: the save fails and the folder stays.
    list.insertSorted({"Hansen", "Kari", "201"});
    EXPECT_FALSE(SavePhoneBook(list, dir.path()));
    EXPECT_TRUE(QFileInfo(dir.file("PhoneBk.dat")).isDir());
}

TEST(PhoneBookFile, SavingRefusesLineBreaksAndWritesAnEmptyBookAsZeroBytes)
{
    test::TempDataDir dir;
    const std::string old = "Hansen\r\nKari\r\n201\r\n";
    dir.write("PhoneBk.dat", old);

    for (const PhoneBookEntry& bad :
         {PhoneBookEntry{"Ha\nnsen", "", "1"}, PhoneBookEntry{"Hansen", "Ka\rri", "1"},
          PhoneBookEntry{"Hansen", "", "20\r\n1"}}) {
        PhoneBookList list;
        list.insertSorted({"Berg", "", "100"});
        list.insertSorted(bad);
        EXPECT_FALSE(SavePhoneBook(list, dir.path()));
        EXPECT_EQ(dir.read("PhoneBk.dat"), old);
    }

    PhoneBookList empty;
    ASSERT_TRUE(SavePhoneBook(empty, dir.path()));
    EXPECT_TRUE(dir.exists("PhoneBk.dat"));
    EXPECT_EQ(dir.read("PhoneBk.dat"), "");
}

TEST(PhoneBookFile, RandomBytesLoadWithoutHarm)
{
    test::TempDataDir dir;
    std::mt19937 random(5100);
    for (int round = 0; round < 50; ++round) {
        std::string bytes(size_t(random() % 3000), '\0');
        for (char& c : bytes)
            c = static_cast<char>(random());
        const Entries loaded = load(dir, bytes);
        for (const PhoneBookEntry& entry : loaded) {
            EXPECT_LE(entry.surname.size(), kMaxPhoneBookField);
            EXPECT_LE(entry.firstName.size(), kMaxPhoneBookField);
            EXPECT_LE(entry.number.size(), kMaxPhoneBookField);
        }
        EXPECT_EQ(loaded.empty(), bytes.empty());
        // Look-ups on such a file answer without harm too.
        PhoneBookIndex::read(dir.path(), kNorway).find("201");
    }
}
