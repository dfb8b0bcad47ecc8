#include "calllog/CallLog.h"
#include "platform/Clock.h"

#include <array>

namespace {

constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "Mai", "Jun",
                                                 "Jul", "Aug", "Sep", "Okt", "Nov", "Des"};

// A value of 0 to 99 in two digits, with a leading zero below 10.
std::string twoDigits(int value)
{
    std::string text = std::to_string(value);
    if (value >= 0 && value < 10)
        text.insert(0, 1, '0');
    return text;
}

} // namespace

std::string FormatCallDate(const LocalDateTime& when)
{
    const bool knownMonth = when.month >= 1 && when.month <= 12;
    return twoDigits(when.day) + "-" + (knownMonth ? kMonths[size_t(when.month - 1)] : "???") +
           "-" + std::to_string(when.year);
}

std::string FormatCallTime(const LocalDateTime& when)
{
    return twoDigits(when.hour) + ":" + twoDigits(when.minute) + ":" + twoDigits(when.second);
}
