#pragma once

#include <string_view>
#include <utility>
#include <vector>

// Extensions given as numbers and ranges, separated by commas or blanks:
// "40-49", "40-49, 600". A part that is neither is passed over.
class ExtensionList
{
public:
    static ExtensionList parse(std::string_view text);

    // True when the extension (digits) is one of the list.
    bool contains(std::string_view extension) const;

private:
    std::vector<std::pair<long, long>> m_ranges;
};
