#include "line/LineCall.h"

#include <algorithm>

bool LineCall::isTextNumber(std::string_view text)
{
    return text.size() <= kMaxTextNumber && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || c == '+' || c == '#' || c == '*';
           });
}

LineCall LineCall::fromTextNumbers(std::string_view caller, std::string_view called)
{
    LineCall call;
    // Calling party number: type of number/numbering plan 0x01,
    // presentation/screening 0x80.
    if (caller.empty()) {
        call.callingNumber = QByteArray(1, '\0');
    } else {
        call.callingNumber.append(char(caller.size() + 2));
        call.callingNumber.append(char(0x01));
        call.callingNumber.append(char(0x80));
        call.callingNumber.append(caller.data(), int(caller.size()));
    }
    // Called party number: type of number/numbering plan 0x81.
    if (called.empty()) {
        call.calledNumber = QByteArray(1, '\0');
    } else {
        call.calledNumber.append(char(called.size() + 1));
        call.calledNumber.append(char(0x81));
        call.calledNumber.append(called.data(), int(called.size()));
    }
    return call;
}
