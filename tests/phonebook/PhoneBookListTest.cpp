#include "phonebook/PhoneBook.h"
#include "support/RecordingObserver.h"

#include <gtest/gtest.h>

namespace {

using test::RecordingObserver;

std::vector<std::string> orderOf(std::initializer_list<const char*> surnames)
{
    PhoneBookList list;
    for (const char* surname : surnames)
        list.insertSorted({surname, "", ""});
    std::vector<std::string> order;
    for (int row = 0; row < list.size(); ++row)
        order.push_back(list.at(row).surname);
    return order;
}

using Names = std::vector<std::string>;

} // namespace

TEST(SurnameCollation, NorwegianOrder)
{
    EXPECT_EQ(orderOf({"Olsen", "Hansen"}), (Names{"Hansen", "Olsen"}));
    // Æ, Ø, Å after Z, in that order (code page 1252 bytes).
    EXPECT_EQ(orderOf({"\xC5se", "Zahl", "\xD8ien", "\xC6r\xF8", "Aas"}),
              (Names{"Aas", "Zahl", "\xC6r\xF8", "\xD8ien", "\xC5se"}));
    EXPECT_LT(compareSurnames("\xC6r\xF8", "\xD8ien"), 0);
    EXPECT_GT(compareSurnames("\xE5se", "zahl"), 0);
    // Letters without case; a prefix first; digits and signs before letters.
    EXPECT_EQ(compareSurnames("hansen", "HANSEN"), 0);
    EXPECT_LT(compareSurnames("Hans", "Hansen"), 0);
    EXPECT_LT(compareSurnames("9", "A"), 0);
    EXPECT_LT(compareSurnames("", "A"), 0);
    EXPECT_LT(compareSurnames("Berg-Hansen", "Bergan"), 0);
    EXPECT_LT(compareSurnames("Berg Hansen", "Berg-Hansen"), 0);
    // Ä as Æ, Ö as Ø, Ü as Y; accented letters as their base letter.
    EXPECT_EQ(compareSurnames("\xC4rlig", "\xC6rlig"), 0);
    EXPECT_EQ(compareSurnames("\xF6st", "\xF8st"), 0);
    EXPECT_EQ(compareSurnames("M\xFCller", "Myller"), 0);
    EXPECT_EQ(compareSurnames("Andr\xE9", "andre"), 0);
    EXPECT_LT(compareSurnames("L\xE0rsen", "Lb"), 0);
    EXPECT_LT(compareSurnames("M\xFCller", "Mz"), 0);
}

TEST(PhoneBookList, EqualSurnamesKeepTheOrderTheyCameIn)
{
    PhoneBookList list;
    list.insertSorted({"Olsen", "Ola", "1"});
    list.insertSorted({"Hansen", "Kari", "2"});
    EXPECT_EQ(list.insertSorted({"OLSEN", "Per", "3"}), 2);
    EXPECT_EQ(list.insertSorted({"olsen", "Pål", "4"}), 3);
    EXPECT_EQ(list.insertSorted({"Hansen", "Nils", "5"}), 1);
    std::vector<std::string> numbers;
    for (int row = 0; row < list.size(); ++row)
        numbers.push_back(list.at(row).number);
    EXPECT_EQ(numbers, (Names{"2", "5", "1", "3", "4"}));

    // Many at once land where one after another would, in one reset.
    PhoneBookList batch;
    test::RecordingObserver observer;
    batch.setObserver(&observer);
    batch.insertAllSorted({{"Olsen", "Ola", "1"}, {"Hansen", "Kari", "2"}});
    batch.insertAllSorted({{"OLSEN", "Per", "3"}, {"olsen", "Pål", "4"}, {"Hansen", "Nils", "5"}});
    numbers.clear();
    for (int row = 0; row < batch.size(); ++row)
        numbers.push_back(batch.at(row).number);
    EXPECT_EQ(numbers, (Names{"2", "5", "1", "3", "4"}));
    EXPECT_EQ(observer.events, (Names{"reset", "reset-end", "reset", "reset-end"}));
}

TEST(PhoneBookList, CutsFieldsAndTellsItsObserver)
{
    PhoneBookList list;
    RecordingObserver observer;
    list.setObserver(&observer);

    EXPECT_EQ(list.insertSorted({std::string(120, 'S'), std::string(100, 'F'), "1"}), 0);
    EXPECT_EQ(list.at(0).surname.size(), kMaxPhoneBookField);
    EXPECT_EQ(list.at(0).firstName.size(), kMaxPhoneBookField);
    EXPECT_EQ(list.insertSorted({"Berg", "", ""}), 0);
    list.setIcon(1, 1);
    list.setIcon(1, 1); // no change, no notification
    EXPECT_EQ(list.icon(1), 1);
    EXPECT_EQ(list.icon(0), 0);
    list.removeAt(0);
    list.removeAt(5);    // no such row: nothing happens
    list.setIcon(-1, 1); // nor here
    list.clear();
    EXPECT_EQ(list.size(), 0);

    EXPECT_EQ(observer.events, (Names{"+0..0", "+end", "+0..0", "+end", "changed 1", "-0..0",
                                      "-end", "reset", "reset-end"}));
}
