#include "contacts/PhoneNumbers.h"

#include "platform/Cp1252.h"

#include <algorithm>
#include <phonenumbers/phonenumberutil.h>
#include <set>

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;

namespace {

int asciiDigits(std::string_view text)
{
    return int(
        std::count_if(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }));
}

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// libphonenumber reads UTF-8; the stores hold code page 1252.
std::string utf8Of(std::string_view cp1252Bytes)
{
    if (isAscii(cp1252Bytes))
        return std::string(cp1252Bytes);
    return cp1252::toQString(cp1252Bytes).toStdString();
}

bool parse(const std::string& utf8, const std::string& region, PhoneNumber* number)
{
    return PhoneNumberUtil::GetInstance()->Parse(utf8, region, number) ==
           PhoneNumberUtil::NO_PARSING_ERROR;
}

std::string nationalSignificant(const PhoneNumber& number)
{
    std::string national;
    PhoneNumberUtil::GetInstance()->GetNationalSignificantNumber(number, &national);
    return national;
}

// The decimal digits of a text, of any script, as ASCII digits.
std::string digitsOf(const QString& text)
{
    std::string digits;
    for (const QChar c : text) {
        const int value = c.digitValue();
        if (value >= 0 && value <= 9)
            digits.push_back(char('0' + value));
    }
    return digits;
}

std::string asciiDigitsOf(const std::string& text)
{
    std::string digits;
    std::copy_if(text.begin(), text.end(), std::back_inserter(digits),
                 [](char c) { return c >= '0' && c <= '9'; });
    return digits;
}

// The prefix that precedes a country code when the home region calls
// abroad, read off libphonenumber's own formatting of a foreign number, and
// kept only when that form reads back as the same number.
std::string internationalPrefixOf(const std::string& region, int countryCode)
{
    const PhoneNumberUtil* util = PhoneNumberUtil::GetInstance();
    // A Norwegian number is foreign anywhere but where the code is 47.
    constexpr int kNorway = 47;
    PhoneNumber foreign;
    if (!util->GetExampleNumber(countryCode == kNorway ? "SE" : "NO", &foreign))
        return {};
    std::string dialled;
    util->FormatOutOfCountryCallingNumber(foreign, region, &dialled);
    dialled = asciiDigitsOf(dialled);
    const std::string rest = std::to_string(foreign.country_code()) + nationalSignificant(foreign);
    if (dialled.size() <= rest.size() ||
        dialled.compare(dialled.size() - rest.size(), rest.size(), rest) != 0)
        return {};
    PhoneNumber back;
    std::string expected, got;
    util->Format(foreign, PhoneNumberUtil::E164, &expected);
    if (parse(dialled, region, &back))
        util->Format(back, PhoneNumberUtil::E164, &got);
    if (got != expected)
        return {};
    return dialled.substr(0, dialled.size() - rest.size());
}

} // namespace

PhoneNumbers::PhoneNumbers(const QString& country)
    : m_country(country.trimmed().toUpper()), m_region(m_country.toStdString())
{
    if (isKnownCountry(m_country)) {
        m_countryCode = PhoneNumberUtil::GetInstance()->GetCountryCodeForRegion(m_region);
        m_internationalPrefix = internationalPrefixOf(m_region, m_countryCode);
    }
}

std::optional<E164Number> PhoneNumbers::matchable(std::string_view number) const
{
    // "Ukjent nummer", extensions and empty texts stop here, before the
    // comparatively slow parse.
    if (asciiDigits(number) < kMinMatchDigits)
        return std::nullopt;
    PhoneNumber parsed;
    if (!parse(utf8Of(number), m_region, &parsed))
        return std::nullopt;
    parsed.clear_extension();
    E164Number result;
    PhoneNumberUtil::GetInstance()->Format(parsed, PhoneNumberUtil::E164, &result.text);
    result.nationalDigits = nationalSignificant(parsed).size();
    return result;
}

std::optional<std::string> PhoneNumbers::e164(std::string_view number) const
{
    std::optional<E164Number> parsed = matchable(number);
    if (!parsed)
        return std::nullopt;
    return std::move(parsed->text);
}

std::optional<std::string> PhoneNumbers::lineForm(const QString& written) const
{
    const std::string digits = digitsOf(written);
    if (digits.empty())
        return std::nullopt;
    PhoneNumber parsed;
    if (int(digits.size()) < kMinMatchDigits || !parse(written.toStdString(), m_region, &parsed)) {
        // Kept as written, less the punctuation: an extension, or a text
        // that libphonenumber cannot read.
        return written.trimmed().startsWith(QLatin1Char('+')) ? "00" + digits : digits;
    }
    parsed.clear_extension();
    // A foreign number as it is dialled from home: "011" before the country
    // code in the United States, "0011" in Australia, "00" in most of Europe.
    if (parsed.country_code() != m_countryCode)
        return (m_internationalPrefix.empty() ? std::string("00") : m_internationalPrefix) +
               std::to_string(parsed.country_code()) + nationalSignificant(parsed);
    std::string national;
    PhoneNumberUtil::GetInstance()->Format(parsed, PhoneNumberUtil::NATIONAL, &national);
    national = asciiDigitsOf(national);
    return national.empty() ? nationalSignificant(parsed) : national;
}

bool PhoneNumbers::isKnownCountry(const QString& country)
{
    std::set<std::string> regions;
    PhoneNumberUtil::GetInstance()->GetSupportedRegions(&regions);
    return regions.count(country.trimmed().toUpper().toStdString()) != 0;
}

QStringList PhoneNumbers::knownCountries()
{
    std::set<std::string> regions;
    PhoneNumberUtil::GetInstance()->GetSupportedRegions(&regions);
    QStringList codes;
    for (const std::string& region : regions)
        codes << QString::fromStdString(region);
    return codes;
}

QString PhoneNumbers::defaultCountry(const QLocale& locale)
{
    const QString fallback = QStringLiteral("NO");
    if (locale.territory() == QLocale::AnyTerritory)
        return fallback;
    const QString code = QLocale::territoryToCode(locale.territory());
    return isKnownCountry(code) ? code.toUpper() : fallback;
}
