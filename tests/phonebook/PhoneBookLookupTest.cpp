#include "PhoneBookTesting.h"
#include "phonebook/PhoneBook.h"
#include "phonebook/PhoneBookFile.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <gtest/gtest.h>
#include <random>

namespace {

// The answer the file gives when it is searched line by line, the plain way:
// the first complete entry with the number byte for byte, else the first
// with the same number in another form.
std::optional<PhoneBookEntry> literal(const QString& dataDir, std::string_view number)
{
    std::vector<std::string> lines;
    phonebookfile::readLines(dataDir, &lines);
    const size_t complete = lines.size() - lines.size() % phonebookfile::kLinesPerEntry;
    for (size_t first = 0; first < complete; first += phonebookfile::kLinesPerEntry) {
        if (lines[first + 2] == number)
            return phonebookfile::entryAt(lines, first);
    }
    const std::optional<E164Number> wanted = kNorway.matchable(number);
    for (size_t first = 0; wanted && first < complete; first += phonebookfile::kLinesPerEntry) {
        if (kNorway.e164(lines[first + 2]) == wanted->text)
            return phonebookfile::entryAt(lines, first);
    }
    return std::nullopt;
}

std::optional<PhoneBookEntry> indexed(const PhoneBookIndex& index, std::string_view number)
{
    const PhoneBookEntry* entry = index.find(number);
    return entry ? std::optional<PhoneBookEntry>(*entry) : std::nullopt;
}

} // namespace

TEST(PhoneBookLookup, WholeNumbersOnlyAndTheFirstOfDuplicates)
{
    test::TempDataDir dir;
    dir.write("PhoneBk.dat", "Berg\r\nNils\r\n912\r\n"
                             "Dahl\r\nEva\r\n123\r\n"
                             "Aas\r\nOla\r\n555\r\n"
                             "Vik\r\nPer\r\n555\r\n"
                             "Tom\r\n\r\n\r\n"
                             "Lie\r\nAnne\r\n");
    const PhoneBookIndex index = PhoneBookIndex::read(dir.path(), kNorway);
    EXPECT_EQ(index.state(), PhoneBookFileState::Read);

    for (const std::string_view number : {"12", "9", "1234", " 123", "123 "}) {
        EXPECT_EQ(literal(dir.path(), number), std::nullopt) << number;
        EXPECT_EQ(indexed(index, number), std::nullopt) << number;
    }
    const PhoneBookEntry dahl{"Dahl", "Eva", "123"};
    EXPECT_EQ(literal(dir.path(), "123"), dahl);
    EXPECT_EQ(indexed(index, "123"), dahl);
    // File order decides, not surname order.
    const PhoneBookEntry aas{"Aas", "Ola", "555"};
    EXPECT_EQ(literal(dir.path(), "555"), aas);
    EXPECT_EQ(indexed(index, "555"), aas);
    // An empty number matches the entry whose number line is empty; the
    // incomplete last entry (Lie, without a number line) never matches.
    const PhoneBookEntry tom{"Tom", "", ""};
    EXPECT_EQ(literal(dir.path(), ""), tom);
    EXPECT_EQ(indexed(index, ""), tom);
    EXPECT_EQ(literal(dir.path(), "Anne"), std::nullopt);
    EXPECT_EQ(indexed(index, "Anne"), std::nullopt);
}

TEST(PhoneBookLookup, AnotherFormOfTheNumberOnlyWhenNoneIsExact)
{
    // A look-up and a load of the call log give the same answer: the exact
    // number first, then the first entry holding the same number in another
    // form.
    test::TempDataDir dir;
    dir.write("PhoneBk.dat", "Hansen\r\nKari\r\n22 12 34 56\r\n"
                             "Lund\r\nPer\r\n+4722123456\r\n"
                             "Vik\r\nOla\r\n004791234567\r\n");
    const PhoneBookIndex index = PhoneBookIndex::read(dir.path(), kNorway);
    const PhoneBookEntry hansen{"Hansen", "Kari", "22 12 34 56"};
    const PhoneBookEntry lund{"Lund", "Per", "+4722123456"};
    const PhoneBookEntry vik{"Vik", "Ola", "004791234567"};
    for (const auto& [delivered, expected] :
         std::vector<std::pair<std::string, std::optional<PhoneBookEntry>>>{
             {"22123456", hansen},
             {"+4722123456", lund},
             {"004722123456", hansen},
             {"91234567", vik},
             {"+46 8 123 456 78", std::nullopt},
             {"Ukjent nummer", std::nullopt}}) {
        EXPECT_EQ(literal(dir.path(), delivered), expected) << delivered;
        EXPECT_EQ(indexed(index, delivered), expected) << delivered;
    }
}

TEST(PhoneBookLookup, MissingOrUnreadableBooksFindNothing)
{
    test::TempDataDir dir;
    EXPECT_EQ(PhoneBookIndex::read(dir.path(), kNorway).state(), PhoneBookFileState::Missing);
    EXPECT_EQ(PhoneBookIndex::read(dir.path(), kNorway).find(""), nullptr);
    ASSERT_TRUE(QDir(dir.path()).mkdir("PhoneBk.dat"));
    const PhoneBookIndex index = PhoneBookIndex::read(dir.path(), kNorway);
    EXPECT_EQ(index.state(), PhoneBookFileState::Unreadable);
    EXPECT_EQ(index.find(""), nullptr);
}

TEST(PhoneBookLookup, TheIndexAnswersAsTheFileLookupDoes)
{
    // Random books with duplicate numbers, empty lines, long lines read in
    // pieces and an incomplete last entry: every answer must be the same.
    test::TempDataDir dir;
    std::mt19937 random(4711);
    for (int round = 0; round < 20; ++round) {
        std::string file;
        std::vector<std::string> asked = {"", "Anne"};
        const int lines = int(random() % 90);
        for (int line = 0; line < lines; ++line) {
            std::string text;
            switch (random() % 6) {
            case 0:
                break; // empty line
            case 1:
                text = std::string(size_t(100 + random() % 300), char('0' + random() % 3));
                break;
            default:
                text = std::to_string(random() % 30);
            }
            asked.push_back(text);
            file += text + (random() % 4 ? "\r\n" : "\n");
        }
        dir.write("PhoneBk.dat", file);
        const PhoneBookIndex index = PhoneBookIndex::read(dir.path(), kNorway);
        for (int n = 0; n < 40; ++n)
            asked.push_back(std::to_string(n));
        for (const std::string& number : asked)
            ASSERT_EQ(literal(dir.path(), number), indexed(index, number)) << number;
    }
}
