#include "contacts/NumberIndex.h"

#include <algorithm>

namespace {

constexpr size_t kMaxTail = 6;
// libphonenumber refuses longer texts whole.
constexpr size_t kMaxPlainLength = 250;

// A tail of `length` digits packed with its length, so that "012345" and
// "12345" stay apart.
std::uint32_t tailKey(std::string_view digits, size_t length)
{
    std::uint32_t value = 0;
    for (size_t i = digits.size() - length; i < digits.size(); ++i)
        value = value * 10 + std::uint32_t(digits[i] - '0');
    return std::uint32_t(length) * 1000000u + value;
}

// The plain form of a number written with digits and only the punctuation
// people put between them ("+47 (22) 12-34.56" gives "+4722123456"): a
// leading "+" and the digits. Such texts read alike when their plain forms
// are alike. Nothing for any other text: letters, "#", ";" or "," could
// start an extension, "/" a second number, and those are left to
// libphonenumber.
std::optional<std::string> plainForm(std::string_view text)
{
    if (text.size() > kMaxPlainLength)
        return std::nullopt;
    std::string plain;
    bool seenDigitOrPlus = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            plain.push_back(c);
            seenDigitOrPlus = true;
        } else if (c == '+' && !seenDigitOrPlus) {
            plain.push_back(c);
            seenDigitOrPlus = true;
        } else if (c != ' ' && c != '-' && c != '.' && c != '(' && c != ')') {
            return std::nullopt;
        }
    }
    return plain;
}

std::string_view digitsOf(std::string_view plain)
{
    return plain.empty() || plain.front() != '+' ? plain : plain.substr(1);
}

} // namespace

NumberIndex::NumberIndex(PhoneNumbers numbers) : m_numbers(std::move(numbers)) {}

void NumberIndex::add(std::string_view number)
{
    const size_t place = m_size++;
    m_exact.emplace(std::string(number), place);
    m_parsed.clear();
    std::optional<E164Number> parsed = m_numbers.matchable(number);
    if (!parsed)
        return;
    const std::string_view national =
        std::string_view(parsed->text).substr(parsed->text.size() - parsed->nationalDigits);
    const size_t length = std::min(kMaxTail, national.size());
    if (length > 0) {
        m_nationalTails.insert(tailKey(national, length));
        m_tailLengths |= 1u << length;
    }
    // The first entry of this E.164 form keeps its place for every form.
    const size_t first = m_byE164.emplace(parsed->text, place).first->second;
    if (std::optional<std::string> plain = plainForm(number))
        addForm(std::move(*plain), first);
    if (!m_numbers.internationalPrefix().empty())
        addForm(m_numbers.internationalPrefix() + parsed->text.substr(1), first);
    addForm(std::move(parsed->text), first);
}

void NumberIndex::addForm(std::string form, size_t place)
{
    m_forms.emplace(std::move(form), place);
}

std::optional<size_t> NumberIndex::find(std::string_view delivered) const
{
    const auto exact = m_exact.find(std::string(delivered));
    if (exact != m_exact.end())
        return exact->second;
    if (m_byE164.empty())
        return std::nullopt;
    const std::optional<std::string> plain = plainForm(delivered);
    if (plain) {
        const std::string_view digits = digitsOf(*plain);
        if (int(digits.size()) < PhoneNumbers::kMinMatchDigits)
            return std::nullopt;
        const auto form = m_forms.find(*plain);
        if (form != m_forms.end())
            return form->second;
        // The digits of a plain text end with its national significant
        // number, whatever prefix stands before: most delivered numbers are
        // nobody's, and this spares them the parse.
        if (!mayEndANationalNumber(digits))
            return std::nullopt;
    }
    // Plain texts that read alike share one parse.
    const std::string key = plain ? *plain : std::string(delivered);
    const auto known = m_parsed.find(key);
    if (known != m_parsed.end())
        return known->second;
    const std::optional<size_t> found = parseAndFind(key);
    m_parsed.emplace(key, found);
    return found;
}

bool NumberIndex::mayEndANationalNumber(std::string_view digits) const
{
    for (size_t length = 1; length <= kMaxTail && length <= digits.size(); ++length) {
        if ((m_tailLengths & (1u << length)) && m_nationalTails.count(tailKey(digits, length)))
            return true;
    }
    return false;
}

std::optional<size_t> NumberIndex::parseAndFind(std::string_view delivered) const
{
    const std::optional<std::string> e164 = m_numbers.e164(delivered);
    if (!e164)
        return std::nullopt;
    const auto it = m_byE164.find(*e164);
    return it == m_byE164.end() ? std::nullopt : std::optional<size_t>(it->second);
}
