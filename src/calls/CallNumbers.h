#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The two numbers of an incoming call, taken from the Calling party number
// and Called party number structs as the line delivered them (a length
// octet, then that many octets).
struct CallNumbers
{
    std::string msn;          // the called number's digits, or "Ukjent nummer"
    std::string callerNumber; // the calling number's digits, or "Ukjent nummer"
    bool numberDelivered = false;
};

// The copies are `copySize` bytes long: nothing past them is read whatever
// their length octets say.
CallNumbers ExtractCallNumbers(const uint8_t* callingNumber, const uint8_t* calledNumber,
                               size_t copySize);
