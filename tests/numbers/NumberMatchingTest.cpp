#include "numbers/NumberIndex.h"
#include "numbers/PhoneNumbers.h"
#include "support/QtPrinting.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

NumberIndex indexOf(const char* country, const std::vector<std::string>& book)
{
    NumberIndex index{PhoneNumbers(QString::fromLatin1(country))};
    for (const std::string& number : book)
        index.add(number);
    return index;
}

// The rule spelled out the slow way: the first exact match in file order,
// else the first entry whose E.164 form equals the delivered number's.
std::optional<size_t> reference(const PhoneNumbers& numbers, const std::vector<std::string>& book,
                                const std::vector<std::optional<std::string>>& bookE164,
                                const std::string& delivered)
{
    for (size_t i = 0; i < book.size(); ++i) {
        if (book[i] == delivered)
            return i;
    }
    const std::optional<E164Number> wanted = numbers.parsed(delivered);
    for (size_t i = 0; wanted && i < book.size(); ++i) {
        if (bookE164[i] == wanted->text)
            return i;
    }
    return std::nullopt;
}

} // namespace

TEST(NumberMatching, DeliveredAgainstStoredInFourCountries)
{
    struct Case
    {
        const char* country;
        const char* stored;
        const char* delivered;
        bool matches;
    };
    const Case cases[] = {
        // Norway: no trunk prefix, international prefix 00.
        {"NO", "22123456", "22123456", true},
        {"NO", "22123456", "+47 22 12 34 56", true},
        {"NO", "22123456", "004722123456", true},
        {"NO", "22123456", "0047 22-12-34-56", true},
        {"NO", "+47 22 12 34 56", "22123456", true},
        {"NO", "(22) 12 34 56", "22.12.34.56", true},
        {"NO", "22123456", "22123457", false},
        {"NO", "22123456", "+46 22123456", false},
        {"NO", "+49 30 1234567", "0049301234567", true},
        // The home country decides how a national number reads: in Norway
        // this is no German number.
        {"NO", "+49 30 1234567", "0301234567", false},
        // Germany: trunk prefix 0, an area code, the (0) people write.
        {"DE", "+49 30 1234567", "0301234567", true},
        {"DE", "030/1234567", "+49 (0)30 1234567", true},
        {"DE", "0301234567", "0049 30 1234567", true},
        {"DE", "0301234567", "0401234567", false},
        {"DE", "+47 22 12 34 56", "004722123456", true},
        // Sweden and Great Britain.
        {"SE", "08-123 456 78", "+46812345678", true},
        {"SE", "08-123 456 78", "0046 8 123 456 78", true},
        {"SE", "070-123 45 67", "0701234567", true},
        {"SE", "070-123 45 67", "0701234568", false},
        {"GB", "020 7946 0018", "+44 20 7946 0018", true},
        {"GB", "(020) 7946 0018", "00442079460018", true},
        {"GB", "07700 900123", "+447700900123", true},
        {"GB", "020 7946 0018", "+47 20 7946 0018", false},
        // Extensions and other short numbers match only as written; five
        // digits are enough for a number.
        {"NO", "201", "201", true},
        {"NO", "201", "+47 201", false},
        {"NO", "+47 201", "201", false},
        {"DE", "4444", "+49 4444", false},
        {"NO", "12345", "+47 12345", true},
        // "Ukjent nummer" and texts that are no number: exact or nothing.
        {"NO", "Ukjent nummer", "Ukjent nummer", true},
        {"NO", "22123456", "Ukjent nummer", false},
        {"NO", "Ukjent nummer", "ukjent nummer", false},
        {"NO", "abcdefgh", "abcdefgh", true},
        {"NO", "abcdefgh", "ABCDEFGH", false},
        {"NO", "22123456", "", false},
        {"NO", "12345678901234567890", "+12345678901234567890", false},
    };
    int byPrefixes = 0;
    for (const Case& c : cases) {
        // The prefixes read what they read as libphonenumber does.
        const PhoneNumbers numbers{QString::fromLatin1(c.country)};
        for (const char* text : {c.stored, c.delivered}) {
            const std::optional<E164Number> fast = numbers.matchable(text);
            const std::optional<E164Number> parsed = numbers.parsed(text);
            EXPECT_EQ(fast.has_value(), parsed.has_value()) << c.country << ": " << text;
            if (fast && parsed) {
                EXPECT_EQ(fast->text, parsed->text) << c.country << ": " << text;
                EXPECT_EQ(fast->nationalDigits, parsed->nationalDigits) << text;
            }
            byPrefixes += numbers.byPrefixes(text).has_value();
        }
        const NumberIndex index = indexOf(c.country, {"99999999", c.stored, "88888888"});
        const std::optional<size_t> found = index.find(c.delivered);
        EXPECT_EQ(found.has_value(), c.matches)
            << c.country << ": stored \"" << c.stored << "\", delivered \"" << c.delivered << '"';
        if (found) {
            EXPECT_EQ(*found, 1u) << c.country << ": " << c.delivered;
        }
    }
    // Both ways were taken: digits in a home form by the prefixes, the rest
    // by libphonenumber.
    EXPECT_GT(byPrefixes, 10);
    EXPECT_EQ(PhoneNumbers(QStringLiteral("DE")).byPrefixes("0301234567")->text, "+49301234567");
    EXPECT_EQ(PhoneNumbers(QStringLiteral("NO")).byPrefixes("0049301234567"), std::nullopt);
}

TEST(NumberMatching, ThePrefixesReadEveryKindOfNumberAsLibphonenumberDoes)
{
    // Random national significant numbers of every length in the national,
    // international and "+" forms of countries with and without a trunk
    // prefix, and with international prefixes of two to four digits.
    std::mt19937 random(11);
    for (const char* country : {"NO", "DE", "SE", "GB", "US", "AU", "JP", "IT", "FR", "CH"}) {
        const PhoneNumbers numbers{QString::fromLatin1(country)};
        int read = 0;
        for (int i = 0; i < 300; ++i) {
            std::string national;
            const int length = 4 + int(random() % 9);
            for (int d = 0; d < length; ++d)
                national.push_back(char('0' + random() % 10));
            for (const std::string& form :
                 {national, "0" + national, "1" + national,
                  numbers.internationalPrefix() + national, "+" + national}) {
                const std::optional<E164Number> fast = numbers.byPrefixes(form);
                if (!fast)
                    continue;
                ++read;
                const std::optional<E164Number> parsed = numbers.parsed(form);
                ASSERT_TRUE(parsed.has_value()) << country << ": " << form;
                EXPECT_EQ(fast->text, parsed->text) << country << ": " << form;
                EXPECT_EQ(fast->nationalDigits, parsed->nationalDigits) << country << ": " << form;
            }
        }
        EXPECT_GT(read, 100) << country;
    }
}

TEST(NumberMatching, FirstInFileOrderWinsAndExactBeforeE164)
{
    const NumberIndex index =
        indexOf("NO", {"+47 22 12 34 56", "22123456", "22 12 34 56", "+4722123456", "201", "201"});
    EXPECT_EQ(index.find("22123456"), 1u);        // exact, though an earlier entry is the same
    EXPECT_EQ(index.find("+4722123456"), 3u);     // exact
    EXPECT_EQ(index.find("004722123456"), 0u);    // the first of the four by E.164
    EXPECT_EQ(index.find("+47 22-12-34-56"), 0u); // likewise
    EXPECT_EQ(index.find("201"), 4u);
    // Asked twice, answered alike (the second answer is remembered).
    EXPECT_EQ(index.find("0047-22123456"), 0u);
    EXPECT_EQ(index.find("0047-22123456"), 0u);
    EXPECT_EQ(index.size(), 6u);
}

TEST(NumberMatching, ShortcutsAnswerAsTheRuleDoes)
{
    // Random books and deliveries in many forms, some numbers foreign, some
    // short, some with letters: the index (numbers read by the prefixes
    // where they can be, parses remembered) must answer exactly as the rule
    // spelled out the slow way, with every number parsed by libphonenumber.
    std::mt19937 random(7);
    const auto digits = [&](int count) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text.push_back(char('0' + random() % 10));
        return text;
    };
    const auto dressed = [&](const std::string& national, int cc) {
        switch (random() % 7) {
        case 0:
            return national;
        case 1:
            return "+" + std::to_string(cc) + " " + national;
        case 2:
            return "00" + std::to_string(cc) + national;
        case 3:
            return "(" + national.substr(0, 2) + ") " + national.substr(2);
        case 4:
            return national.substr(0, 3) + "-" + national.substr(3) + " x12";
        case 5:
            return std::to_string(cc) + national;
        default:
            return "0" + national;
        }
    };
    for (const char* country : {"NO", "DE", "SE", "GB"}) {
        const PhoneNumbers numbers{QString::fromLatin1(country)};
        std::vector<std::string> nationals;
        for (int i = 0; i < 60; ++i)
            nationals.push_back(std::to_string(2 + random() % 8) + digits(4 + int(random() % 6)));
        const int codes[] = {47, 49, 46, 44};
        std::vector<std::string> book;
        for (int i = 0; i < 120; ++i)
            book.push_back(dressed(nationals[random() % nationals.size()], codes[random() % 4]));
        book.push_back("Ukjent nummer");
        book.push_back("2041");
        NumberIndex index{numbers};
        std::vector<std::optional<std::string>> bookE164;
        for (const std::string& number : book) {
            index.add(number);
            const std::optional<E164Number> parsed = numbers.parsed(number);
            bookE164.push_back(parsed ? std::optional<std::string>(parsed->text) : std::nullopt);
        }
        int found = 0;
        for (int i = 0; i < 400; ++i) {
            const std::string delivered =
                i % 10 == 0 ? digits(4)
                            : dressed(nationals[random() % nationals.size()], codes[random() % 4]);
            const std::optional<size_t> expected = reference(numbers, book, bookE164, delivered);
            EXPECT_EQ(index.find(delivered), expected) << country << ": " << delivered;
            found += expected.has_value();
        }
        // Enough of the deliveries name someone for the comparison to mean
        // something.
        EXPECT_GT(found, 100) << country;
    }
}

// The line form of a written number, as an import stores it.
std::optional<std::string> lineFormOf(const PhoneNumbers& numbers, const char* written)
{
    std::optional<PhoneNumbers::LineForm> form =
        numbers.lineFormAndE164(QString::fromUtf8(written));
    return form ? std::optional<std::string>(form->line) : std::nullopt;
}

TEST(NumberMatching, LineFormsOfWrittenNumbers)
{
    const PhoneNumbers norway{QStringLiteral("no")};
    EXPECT_EQ(norway.country(), QStringLiteral("NO"));
    EXPECT_EQ(lineFormOf(norway, "+47 22 12 34 56"), "22123456");
    EXPECT_EQ(lineFormOf(norway, "0047 (22) 12-34-56"), "22123456");
    EXPECT_EQ(lineFormOf(norway, "+49 30 1234567"), "0049301234567");
    EXPECT_EQ(lineFormOf(norway, "+1 (202) 555-0123"), "0012025550123");
    EXPECT_EQ(lineFormOf(norway, "+47 22 12 34 56 ext. 12"), "22123456");
    EXPECT_EQ(lineFormOf(norway, "201"), "201");
    EXPECT_EQ(lineFormOf(norway, "+12345678901234567890"), "0012345678901234567890");
    EXPECT_EQ(lineFormOf(norway, "ingen"), std::nullopt);
    EXPECT_EQ(lineFormOf(norway, ""), std::nullopt);

    const PhoneNumbers germany{QStringLiteral("DE")};
    EXPECT_EQ(lineFormOf(germany, "+49 30 1234567"), "0301234567");
    EXPECT_EQ(lineFormOf(germany, "+47 22 12 34 56"), "004722123456");
    EXPECT_EQ(lineFormOf(PhoneNumbers(QStringLiteral("SE")), "+46 8 123 456 78"), "0812345678");
    EXPECT_EQ(lineFormOf(PhoneNumbers(QStringLiteral("GB")), "+44 20 7946 0018"), "02079460018");

    // A foreign number as it is dialled from the home country.
    EXPECT_EQ(lineFormOf(PhoneNumbers(QStringLiteral("US")), "+47 22 12 34 56"), "0114722123456");
    EXPECT_EQ(lineFormOf(PhoneNumbers(QStringLiteral("AU")), "+47 22 12 34 56"), "00114722123456");
    EXPECT_EQ(lineFormOf(PhoneNumbers(QStringLiteral("JP")), "+47 22 12 34 56"), "0104722123456");
}

TEST(NumberMatching, HomeCountryFromTheLocale)
{
    EXPECT_EQ(PhoneNumbers::defaultCountry(QLocale(QLocale::German, QLocale::Germany)), "DE");
    EXPECT_EQ(PhoneNumbers::defaultCountry(QLocale(QLocale::English, QLocale::UnitedKingdom)),
              "GB");
    EXPECT_EQ(PhoneNumbers::defaultCountry(QLocale(QLocale::Swedish, QLocale::Sweden)), "SE");
    // No territory, or one without telephone numbers of its own.
    EXPECT_EQ(PhoneNumbers::defaultCountry(QLocale::c()), "NO");
    EXPECT_EQ(PhoneNumbers::defaultCountry(QLocale(QLocale::English, QLocale::World)), "NO");
    EXPECT_TRUE(PhoneNumbers::isKnownCountry("se"));
    EXPECT_FALSE(PhoneNumbers::isKnownCountry("XX"));
}
