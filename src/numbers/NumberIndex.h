#pragma once

#include "numbers/PhoneNumbers.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// The numbers of a phone book in file order, for many look-ups of delivered
// numbers: which entry does a number name? The first entry whose number
// equals the delivered text exactly; when none does, the first whose E.164
// form equals the delivered number's (PhoneNumbers). Entries are known by
// their place in the order they were added.
//
// Reading numbers is what costs, so each is read once, and only when an
// exact match cannot answer: the entries' E.164 forms are worked out at the
// first look-up that needs them (most numbers by the home country's
// prefixes, the rest by libphonenumber), and a number that libphonenumber
// had to parse is remembered for as long as the index lives. A delivered
// number whose last digits end no entry's national number is not parsed at
// all. That memory makes find() unsafe to call from two threads at once.
class NumberIndex
{
public:
    explicit NumberIndex(PhoneNumbers numbers);
    // Moved, never copied: the look-up keeps views of the numbers it holds.
    NumberIndex(NumberIndex&&) = default;
    NumberIndex& operator=(NumberIndex&&) = default;
    NumberIndex(const NumberIndex&) = delete;
    NumberIndex& operator=(const NumberIndex&) = delete;

    // Adds the number of the next entry (code page 1252 bytes), and, when
    // it is known already, its E.164 form.
    void add(std::string_view number);
    void add(std::string_view number, std::optional<E164Number> e164);
    size_t size() const { return m_texts.size(); }

    // The place of the entry that the delivered number names, or nothing.
    std::optional<size_t> find(std::string_view delivered) const;
    // The same for a number whose E.164 form is known already.
    std::optional<size_t> find(std::string_view delivered,
                               const std::optional<E164Number>& e164) const;

private:
    void readPending() const;
    void addE164(const E164Number& e164, size_t place) const;
    std::optional<E164Number> read(std::string_view number, bool delivered) const;
    std::optional<size_t> placeOf(const std::optional<E164Number>& e164) const;
    bool mayEndANationalNumber(std::string_view digits) const;

    PhoneNumbers m_numbers;
    // The entries' numbers, where they stay put for the views below.
    std::deque<std::string> m_texts;
    std::unordered_map<std::string_view, size_t> m_exact;
    // Places of the entries whose E.164 form is not worked out yet.
    mutable std::vector<size_t> m_pending;
    mutable std::unordered_map<std::string, size_t> m_byE164;
    // The last six digits of each entry's national significant number, one
    // bit each, and the whole of those shorter, with their count; which
    // counts occur (bit n: n digits).
    mutable std::vector<bool> m_sixDigitTails;
    mutable std::unordered_set<std::uint32_t> m_shortTails;
    mutable unsigned m_tailLengths = 0;
    // What libphonenumber made of a text (its plain form where it has one).
    mutable std::unordered_map<std::string, std::optional<E164Number>> m_parsed;
};
