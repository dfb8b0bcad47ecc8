#include "outcomes/ExtensionList.h"

#include <algorithm>
#include <optional>

namespace {

// Nine digits at most: an extension, not an overflow.
std::optional<long> numberOf(std::string_view text)
{
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    long value = 0;
    for (const char c : text)
        value = value * 10 + (c - '0');
    return value;
}

} // namespace

ExtensionList ExtensionList::parse(std::string_view text)
{
    ExtensionList list;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = text.find_first_of(", ;\t", pos);
        const std::string_view part =
            text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        pos = end == std::string_view::npos ? text.size() : end + 1;
        const size_t dash = part.find('-');
        const std::optional<long> from = numberOf(part.substr(0, dash));
        const std::optional<long> to =
            dash == std::string_view::npos ? from : numberOf(part.substr(dash + 1));
        if (from && to && *from <= *to)
            list.m_ranges.emplace_back(*from, *to);
    }
    return list;
}

bool ExtensionList::contains(std::string_view extension) const
{
    const std::optional<long> value = numberOf(extension);
    return value && std::any_of(m_ranges.begin(), m_ranges.end(), [&](const auto& range) {
               return *value >= range.first && *value <= range.second;
           });
}
