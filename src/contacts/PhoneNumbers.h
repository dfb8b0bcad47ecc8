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
    std::optional<E164Number> matchable(std::string_view number) const;
    std::optional<std::string> e164(std::string_view number) const;

    // The number as the line delivers it: digits only, the national form for
    // a number of the home country ("22123456" in Norway, "0301234567" in
    // Germany), the home country's international prefix and the country
    // code for a foreign one ("0049301234567" in Norway, "01149301234567" in
    // the United States; "00" where libphonenumber knows no prefix). A text that does not read as a
    // number keeps its digits (a leading "+" becomes "00"); nothing when it has no digit.
    std::optional<std::string> lineForm(const QString& written) const;

    // The digits dialled before a country code from the home country ("00"
    // in Norway, "011" in the United States), as libphonenumber formats a
    // call abroad; empty when it has none. A number dialled so, followed by
    // the country code and the national significant number, reads back as
    // that number.
    const std::string& internationalPrefix() const { return m_internationalPrefix; }

    // True when libphonenumber knows the country (ISO code, any case).
    static bool isKnownCountry(const QString& country);
    // The ISO codes of every country libphonenumber knows, sorted.
    static QStringList knownCountries();

    // The country of the locale's territory, or "NO" when the locale names
    // none that libphonenumber knows (the "C" locale, a bare language).
    static QString defaultCountry(const QLocale& locale = QLocale::system());

private:
    QString m_country;
    std::string m_region;
    int m_countryCode = 0;
    std::string m_internationalPrefix;
};
