#include "calls/CallNumbers.h"

#include "calllog/CallLog.h"

#include <algorithm>

namespace {

// The digits of a number struct: `count` octets from `first`, ending early
// at a zero octet or at any other control byte. A control byte cannot be a
// digit, and a line break would split the records of the data files where
// the number is written, so it ends the number as a zero octet does.
std::string digitsOf(const uint8_t* copy, size_t copySize, size_t first, int count)
{
    std::string out;
    const size_t end = std::min(copySize, first + size_t(count));
    for (size_t i = first; i < end; ++i) {
        const uint8_t c = copy[i];
        if (c < 0x20 || c == 0x7F)
            break;
        out.push_back(char(c));
    }
    return out;
}

} // namespace

CallNumbers ExtractCallNumbers(const uint8_t* calling, const uint8_t* called, size_t copySize)
{
    CallNumbers n;

    // The length octets are signed: 128..255 mean no number was delivered.
    const int calledLength = copySize > 0 ? int(int8_t(called[0])) : 0;
    if (calledLength > 1)
        n.msn = digitsOf(called, copySize, 2, calledLength - 1);
    // A struct whose first digit is already a zero octet carries no number.
    if (n.msn.empty())
        n.msn = kUnknownNumber;

    const int callingLength = copySize > 0 ? int(int8_t(calling[0])) : 0;
    if (callingLength > 2)
        n.callerNumber = digitsOf(calling, copySize, 3, callingLength - 2);
    n.numberDelivered = !n.callerNumber.empty();
    if (!n.numberDelivered)
        n.callerNumber = kUnknownNumber;
    return n;
}
