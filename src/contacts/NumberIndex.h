#pragma once

#include "contacts/PhoneNumbers.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

// The numbers of a phone book in file order, for many look-ups of delivered
// numbers: which entry does a number name? The first entry whose number
// equals the delivered text exactly; when none does, the first whose E.164
// form equals the delivered number's (PhoneNumbers). Built once per load of
// the phone book; entries are known by their place in the order they were
// added.
//
// Parsing is what costs, so a look-up avoids it where the answer is known
// without: a delivered number in a form that an entry's number reads as
// (digits and punctuation alike, its E.164 form, or its form dialled from
// abroad) is found at once, and one whose last digits end no entry's
// national number cannot match. The rest are parsed once each and
// remembered; that memory makes find() unsafe to call from two threads at
// once.
class NumberIndex
{
public:
    explicit NumberIndex(PhoneNumbers numbers);

    // Adds the number of the next entry (code page 1252 bytes).
    void add(std::string_view number);
    size_t size() const { return m_size; }

    // The place of the entry that the delivered number names, or nothing.
    std::optional<size_t> find(std::string_view delivered) const;

private:
    void addForm(std::string form, size_t place);
    bool mayEndANationalNumber(std::string_view digits) const;
    std::optional<size_t> parseAndFind(std::string_view delivered) const;

    PhoneNumbers m_numbers;
    size_t m_size = 0;
    std::unordered_map<std::string, size_t> m_exact;
    std::unordered_map<std::string, size_t> m_byE164;
    // Plain forms ("+" and digits) known to read as an entry's E.164 form,
    // with the place of the first entry of that form.
    std::unordered_map<std::string, size_t> m_forms;
    // The last digits (up to six) of each entry's national significant
    // number, with their count, and which counts occur (bit n: n digits).
    std::unordered_set<std::uint32_t> m_nationalTails;
    unsigned m_tailLengths = 0;
    mutable std::unordered_map<std::string, std::optional<size_t>> m_parsed;
};
