#include "numbers/NumberIndex.h"

#include <algorithm>

namespace {

constexpr size_t kMaxTail = 6;

// A tail of `length` digits packed with its length, so that "012345" and
// "12345" stay apart.
std::uint32_t tailKey(std::string_view digits, size_t length)
{
    std::uint32_t value = 0;
    for (size_t i = digits.size() - length; i < digits.size(); ++i)
        value = value * 10 + std::uint32_t(digits[i] - '0');
    return std::uint32_t(length) * 1000000u + value;
}

// The last six digits as a number.
constexpr size_t kSixDigitTails = 1000000;
size_t tailOf(std::string_view digits)
{
    size_t value = 0;
    for (size_t i = digits.size() - kMaxTail; i < digits.size(); ++i)
        value = value * 10 + size_t(digits[i] - '0');
    return value;
}

std::string_view digitsOf(std::string_view plain)
{
    return plain.empty() || plain.front() != '+' ? plain : plain.substr(1);
}

} // namespace

NumberIndex::NumberIndex(PhoneNumbers numbers) : m_numbers(std::move(numbers)) {}

void NumberIndex::add(std::string_view number)
{
    const size_t place = m_texts.size();
    m_exact.emplace(m_texts.emplace_back(number), place);
    m_pending.push_back(place);
}

void NumberIndex::add(std::string_view number, std::optional<E164Number> e164)
{
    const size_t place = m_texts.size();
    m_exact.emplace(m_texts.emplace_back(number), place);
    if (e164)
        addE164(*e164, place);
}

void NumberIndex::readPending() const
{
    for (const size_t place : m_pending) {
        if (const std::optional<E164Number> e164 = read(m_texts[place], false))
            addE164(*e164, place);
    }
    m_pending.clear();
}

void NumberIndex::addE164(const E164Number& e164, size_t place) const
{
    const std::string_view national =
        std::string_view(e164.text).substr(e164.text.size() - e164.nationalDigits);
    const size_t length = std::min(kMaxTail, national.size());
    if (length == kMaxTail) {
        if (m_sixDigitTails.empty())
            m_sixDigitTails.resize(kSixDigitTails);
        m_sixDigitTails[tailOf(national)] = true;
    } else if (length > 0) {
        m_shortTails.insert(tailKey(national, length));
    }
    m_tailLengths |= 1u << length;
    // The first entry of this E.164 form keeps it, in whatever order the
    // forms were worked out.
    const auto [it, added] = m_byE164.emplace(e164.text, place);
    if (!added && place < it->second)
        it->second = place;
}

std::optional<E164Number> NumberIndex::read(std::string_view number, bool delivered) const
{
    const std::optional<std::string> plain = PhoneNumbers::plainForm(number);
    if (plain) {
        if (int(digitsOf(*plain).size()) < PhoneNumbers::kMinMatchDigits)
            return std::nullopt;
        // The digits of a plain text end with its national significant
        // number, whatever prefix stands before: most delivered numbers are
        // nobody's, and this answers for them at once.
        if (delivered && !mayEndANationalNumber(digitsOf(*plain)))
            return std::nullopt;
        if (std::optional<E164Number> e164 = m_numbers.byPrefixes(*plain))
            return e164;
    }
    // Plain texts that read alike share one parse.
    const std::string key = plain ? *plain : std::string(number);
    const auto known = m_parsed.find(key);
    if (known != m_parsed.end())
        return known->second;
    std::optional<E164Number> e164 = m_numbers.parsed(key);
    m_parsed.emplace(key, e164);
    return e164;
}

std::optional<size_t> NumberIndex::find(std::string_view delivered) const
{
    const auto exact = m_exact.find(delivered);
    if (exact != m_exact.end())
        return exact->second;
    readPending();
    if (m_byE164.empty())
        return std::nullopt;
    return placeOf(read(delivered, true));
}

std::optional<size_t> NumberIndex::find(std::string_view delivered,
                                        const std::optional<E164Number>& e164) const
{
    const auto exact = m_exact.find(delivered);
    if (exact != m_exact.end())
        return exact->second;
    readPending();
    return placeOf(e164);
}

std::optional<size_t> NumberIndex::placeOf(const std::optional<E164Number>& e164) const
{
    if (!e164)
        return std::nullopt;
    const auto it = m_byE164.find(e164->text);
    return it == m_byE164.end() ? std::nullopt : std::optional<size_t>(it->second);
}

bool NumberIndex::mayEndANationalNumber(std::string_view digits) const
{
    if ((m_tailLengths & (1u << kMaxTail)) && digits.size() >= kMaxTail &&
        m_sixDigitTails[tailOf(digits)])
        return true;
    for (size_t length = 1; length < kMaxTail && length <= digits.size(); ++length) {
        if ((m_tailLengths & (1u << length)) && m_shortTails.count(tailKey(digits, length)))
            return true;
    }
    return false;
}
