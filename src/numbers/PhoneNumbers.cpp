#include "numbers/PhoneNumbers.h"

#include "platform/Cp1252.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <phonenumbers/phonenumberutil.h>
#include <set>
#include <vector>

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;

namespace {

// libphonenumber reads no national number shorter or longer than these.
constexpr int kMinNationalDigits = 2;
constexpr size_t kMaxPlainDigits = 17;

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

// The example numbers of every kind of the region, as libphonenumber has
// them.
std::vector<PhoneNumber> examplesOf(const std::string& region)
{
    const PhoneNumberUtil* util = PhoneNumberUtil::GetInstance();
    std::set<PhoneNumberUtil::PhoneNumberType> types;
    util->GetSupportedTypesForRegion(region, &types);
    std::vector<PhoneNumber> examples;
    for (const PhoneNumberUtil::PhoneNumberType type : types) {
        PhoneNumber example;
        if (util->GetExampleNumberForType(region, type, &example))
            examples.push_back(example);
    }
    return examples;
}

// What libphonenumber writes before the national significant number in the
// national form of each example number: the national prefix or nothing,
// the same for every kind, or nothing known.
std::optional<std::string> nationalFormPrefixOf(const std::string& region,
                                                const std::string& nationalPrefix)
{
    std::optional<std::string> prefix;
    for (const PhoneNumber& example : examplesOf(region)) {
        std::string national;
        PhoneNumberUtil::GetInstance()->Format(example, PhoneNumberUtil::NATIONAL, &national);
        national = asciiDigitsOf(national);
        const std::string nsn = nationalSignificant(example);
        const std::string found = national == nsn                    ? std::string()
                                  : national == nationalPrefix + nsn ? nationalPrefix
                                                                     : std::string("?");
        if (found == "?" || (prefix && *prefix != found))
            return std::nullopt;
        prefix = found;
    }
    return prefix;
}

} // namespace

std::optional<std::string> PhoneNumbers::plainForm(std::string_view text)
{
    // Far longer than any number: left to libphonenumber, which refuses it.
    constexpr size_t kMaxPlainLength = 250;
    if (text.size() > kMaxPlainLength)
        return std::nullopt;
    std::string plain;
    for (const char c : text) {
        if (c >= '0' && c <= '9')
            plain.push_back(c);
        else if (c == '+' && plain.empty())
            plain.push_back(c);
        else if (c != ' ' && c != '-' && c != '.' && c != '(' && c != ')')
            return std::nullopt;
    }
    return plain;
}

PhoneNumbers::PhoneNumbers(const QString& country)
{
    // libphonenumber's data does not change while the program runs: what is
    // read from it for a country is read once, and copied for every later
    // reader of that country's numbers (a call log made for a load, an
    // import's worker).
    static std::mutex mutex;
    static std::map<QString, PhoneNumbers> read;
    const QString code = country.trimmed().toUpper();
    const std::lock_guard<std::mutex> lock(mutex);
    auto known = read.find(code);
    if (known == read.end())
        known = read.emplace(code, PhoneNumbers(code, ReadData{})).first;
    *this = known->second;
}

PhoneNumbers::PhoneNumbers(const QString& country, ReadData)
    : m_country(country), m_region(m_country.toStdString())
{
    if (isKnownCountry(m_country)) {
        const PhoneNumberUtil* util = PhoneNumberUtil::GetInstance();
        m_countryCode = util->GetCountryCodeForRegion(m_region);
        m_countryDigits = std::to_string(m_countryCode);
        m_internationalPrefix = internationalPrefixOf(m_region, m_countryCode);
        util->GetNddPrefixForRegion(m_region, true, &m_nationalPrefix);
        m_nationalPrefix = asciiDigitsOf(m_nationalPrefix);
        m_byPrefixes = !m_internationalPrefix.empty();
        m_byPrefixes = m_byPrefixes && byPrefixesAgreesWithParsing();
        if (m_byPrefixes)
            m_nationalFormPrefix = nationalFormPrefixOf(m_region, m_nationalPrefix);
    }
}

std::optional<E164Number> PhoneNumbers::matchable(std::string_view number) const
{
    // "Ukjent nummer", extensions and empty texts stop here, before the
    // comparatively slow parse.
    if (asciiDigits(number) < kMinMatchDigits)
        return std::nullopt;
    if (std::optional<E164Number> read = byPrefixes(number))
        return read;
    return parsed(number);
}

std::optional<E164Number> PhoneNumbers::byPrefixes(std::string_view plain) const
{
    if (!m_byPrefixes)
        return std::nullopt;
    const bool plus = !plain.empty() && plain.front() == '+';
    std::string_view digits = plus ? plain.substr(1) : plain;
    if (int(digits.size()) < kMinMatchDigits || digits.size() > kMaxPlainDigits ||
        asciiDigits(digits) != int(digits.size()))
        return std::nullopt;
    const auto startsWith = [](std::string_view text, std::string_view prefix) {
        return !prefix.empty() && text.substr(0, prefix.size()) == prefix;
    };
    bool stripped = false;
    if (plus || startsWith(digits, m_internationalPrefix)) {
        // The home country's own numbers only; a foreign one is parsed.
        digits.remove_prefix(plus ? 0 : m_internationalPrefix.size());
        if (!startsWith(digits, m_countryDigits))
            return std::nullopt;
        digits.remove_prefix(m_countryDigits.size());
    } else if (startsWith(digits, m_countryDigits)) {
        // libphonenumber may take these digits for the country code.
        return std::nullopt;
    } else if (startsWith(digits, m_nationalPrefix)) {
        digits.remove_prefix(m_nationalPrefix.size());
        stripped = true;
    }
    // A zero or a national prefix where the national number begins (an
    // Italian number, "+49 0 30...") is for libphonenumber's own rules.
    if (digits.size() < size_t(kMinNationalDigits) || digits.front() == '0' ||
        startsWith(digits, m_nationalPrefix))
        return std::nullopt;
    if (stripped) {
        // libphonenumber keeps the prefix of a number that would be too
        // short without it.
        PhoneNumber number;
        number.set_country_code(m_countryCode);
        number.set_national_number(std::stoull(std::string(digits)));
        const PhoneNumberUtil::ValidationResult length =
            PhoneNumberUtil::GetInstance()->IsPossibleNumberWithReason(number);
        if (length == PhoneNumberUtil::TOO_SHORT || length == PhoneNumberUtil::INVALID_LENGTH ||
            length == PhoneNumberUtil::IS_POSSIBLE_LOCAL_ONLY)
            return std::nullopt;
    }
    E164Number result;
    result.text.reserve(1 + m_countryDigits.size() + digits.size());
    result.text.append(1, '+').append(m_countryDigits).append(digits);
    result.nationalDigits = digits.size();
    return result;
}

// The prefixes are taken from libphonenumber's own data, but whether they
// read every number as it does is not: the example numbers of every kind,
// in every form the prefixes read, must come out as libphonenumber parses
// them, or libphonenumber parses all.
bool PhoneNumbers::byPrefixesAgreesWithParsing() const
{
    for (const PhoneNumber& example : examplesOf(m_region)) {
        const std::string national = nationalSignificant(example);
        for (const std::string& form : {national, m_nationalPrefix + national,
                                        m_internationalPrefix + m_countryDigits + national,
                                        "+" + m_countryDigits + national}) {
            const std::optional<E164Number> read = byPrefixes(form);
            const std::optional<E164Number> full = parsed(form);
            if (read &&
                (!full || read->text != full->text || read->nationalDigits != full->nationalDigits))
                return false;
        }
    }
    return true;
}

std::optional<E164Number> PhoneNumbers::parsed(std::string_view number) const
{
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

std::optional<PhoneNumbers::LineForm> PhoneNumbers::lineFormAndE164(const QString& written) const
{
    // Most numbers of a contact file are the home country's, written with
    // digits and punctuation: their line form follows from the prefixes, as
    // libphonenumber would format it.
    if (m_nationalFormPrefix) {
        const std::optional<std::string> plain = plainForm(written.toStdString());
        const std::optional<E164Number> e164 = plain ? byPrefixes(*plain) : std::nullopt;
        if (e164) {
            LineForm form;
            form.line =
                *m_nationalFormPrefix + e164->text.substr(e164->text.size() - e164->nationalDigits);
            form.e164 = matchable(form.line);
            return form;
        }
    }
    const std::string digits = digitsOf(written);
    if (digits.empty())
        return std::nullopt;
    PhoneNumber parsed;
    if (int(digits.size()) < kMinMatchDigits || !parse(written.toStdString(), m_region, &parsed)) {
        // Kept as written, less the punctuation: an extension, or a text
        // that libphonenumber cannot read.
        LineForm form;
        form.line = written.trimmed().startsWith(QLatin1Char('+')) ? "00" + digits : digits;
        form.e164 = matchable(form.line);
        return form;
    }
    parsed.clear_extension();
    LineForm form;
    const PhoneNumberUtil* util = PhoneNumberUtil::GetInstance();
    const std::string nsn = nationalSignificant(parsed);
    if (parsed.country_code() != m_countryCode) {
        // A foreign number as it is dialled from home: "011" before the
        // country code in the United States, "0011" in Australia, "00" in
        // most of Europe. It reads back as the number parsed: the prefix is
        // the one libphonenumber dials with.
        form.line = (m_internationalPrefix.empty() ? std::string("00") : m_internationalPrefix) +
                    std::to_string(parsed.country_code()) + nsn;
        E164Number e164;
        util->Format(parsed, PhoneNumberUtil::E164, &e164.text);
        e164.nationalDigits = nsn.size();
        form.e164 = std::move(e164);
        return form;
    }
    util->Format(parsed, PhoneNumberUtil::NATIONAL, &form.line);
    form.line = asciiDigitsOf(form.line);
    if (form.line.empty())
        form.line = nsn;
    // Read again as a delivered number would be, mostly by the prefixes: a
    // national form may name another number than the one written.
    form.e164 = matchable(form.line);
    return form;
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
