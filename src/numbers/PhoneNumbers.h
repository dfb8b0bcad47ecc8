#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <string_view>

// A number in its E.164 form ("+4722123456"), and how many of its last
// digits are the national significant number ("22123456": 8).
struct E164Number
{
    std::string text;
    size_t nationalDigits = 0;
};

// The telephone numbers of one home country, read with libphonenumber: a
// number written in any form ("22 12 34 56", "+47 22123456", "0047-22123456")
// has one E.164 form, so two texts name the same line when those are equal.
class PhoneNumbers
{
public:
    // Numbers that fall short of this many digits are extensions and other
    // internal numbers: they are compared only as they are written.
    static constexpr int kMinMatchDigits = 5;

    // `country` is an ISO 3166 code ("NO", "de"). With a code that
    // libphonenumber does not know, only numbers written with "+" can be
    // read.
    explicit PhoneNumbers(const QString& country);

    // The upper-case ISO code.
    const QString& country() const { return m_country; }

    // The E.164 form of a number as the line delivers it or the phone book
    // holds it (code page 1252 bytes); nothing for "Ukjent nummer", a text
    // that does not read as a number, and one of fewer than kMinMatchDigits
    // digits. An extension that the text names is left out.
    //
    // A number written with only digits in the home country's national or
    // international form (or "+" and the home country code) is read by the
    // country's prefixes, without libphonenumber; libphonenumber parses the
    // rest. Both give the same answer.
    std::optional<E164Number> matchable(std::string_view number) const;
    std::optional<std::string> e164(std::string_view number) const;

    // The same read by libphonenumber alone, whatever the form.
    std::optional<E164Number> parsed(std::string_view number) const;

    // The plain form of a number written with digits and only the
    // punctuation people put between them ("+47 (22) 12-34.56" gives
    // "+4722123456"): a leading "+" and the digits. Texts read alike when
    // their plain forms are alike. Nothing for any other text (letters, "#",
    // ";" or "," could start an extension, "/" a second number: those are
    // left to libphonenumber) and for one too long to be a number.
    static std::optional<std::string> plainForm(std::string_view text);

    // The E.164 form of a number of only ASCII digits (a "+" may lead)
    // found by the home country's prefixes alone; nothing when the number
    // is in another form or could read otherwise (a foreign number, a
    // prefix libphonenumber might read another way), which is then for
    // libphonenumber to parse.
    std::optional<E164Number> byPrefixes(std::string_view plain) const;

    // The number as the line delivers it: digits only, the national form for
    // a number of the home country ("22123456" in Norway, "0301234567" in
    // Germany), the home country's international prefix and the country
    // code for a foreign one ("0049301234567" in Norway, "01149301234567" in
    // the United States; "00" where libphonenumber knows no prefix). A text that does not read as a
    // number keeps its digits (a leading "+" becomes "00"); nothing when it has no digit.
    // The line form, and the E.164 form of that line form, from one parse.
    struct LineForm
    {
        std::string line;
        std::optional<E164Number> e164;
    };
    std::optional<LineForm> lineFormAndE164(const QString& written) const;

    // The digits dialled before a country code from the home country ("00"
    // in Norway, "011" in the United States), as libphonenumber formats a
    // call abroad; empty when it has none. A number dialled so, followed by
    // the country code and the national significant number, reads back as
    // that number. Tests write numbers in this form.
    const std::string& internationalPrefix() const { return m_internationalPrefix; }

    // True when libphonenumber knows the country (ISO code, any case).
    static bool isKnownCountry(const QString& country);
    // The ISO codes of every country libphonenumber knows, sorted.
    static QStringList knownCountries();

    // The country of the locale's territory, or "NO" when the locale names
    // none that libphonenumber knows (the "C" locale, a bare language).
    static QString defaultCountry(const QLocale& locale = QLocale::system());

private:
    struct ReadData
    {};
    // Reads what the country's numbers need from libphonenumber's data.
    PhoneNumbers(const QString& country, ReadData);
    bool byPrefixesAgreesWithParsing() const;

    QString m_country;
    std::string m_region;
    int m_countryCode = 0;
    std::string m_countryDigits;
    std::string m_nationalPrefix;
    std::string m_internationalPrefix;
    // Off for a country whose numbers the prefixes alone do not read as
    // libphonenumber does (carrier codes, prefixes that change the number).
    bool m_byPrefixes = false;
    // What stands before the national significant number in the national
    // form of every kind of number ("0" in Germany, nothing in Norway);
    // nothing known when that differs by kind.
    std::optional<std::string> m_nationalFormPrefix;
};
