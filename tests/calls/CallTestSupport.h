#pragma once

#include "calls/CallAnnouncer.h"
#include "calls/IncomingCall.h"

#include <cstdint>
#include <string>
#include <vector>

namespace test {

// Number structs as the line delivers them: a length octet, then the octets.
// Calling party number: type/plan 0x01, presentation 0x80, then the digits.
std::vector<uint8_t> callingStruct(const std::string& digits);
// Called party number: type/plan 0x81, then the digits.
std::vector<uint8_t> calledStruct(const std::string& digits);
// A struct with just its length octet and those raw octets.
std::vector<uint8_t> rawStruct(std::vector<uint8_t> octets, int lengthOctet = -1);

// What the popup was asked to show.
struct PopupCall
{
    std::string number;
    std::string msn;
    std::string name;
    bool numberDelivered;
    bool inPhoneBook;
};

class FakePopup : public CallPopupPresenter
{
public:
    void showCallPopup(const std::string& number, const std::string& msn, const std::string& name,
                       bool numberDelivered, bool inPhoneBook) override
    {
        calls.push_back({number, msn, name, numberDelivered, inPhoneBook});
    }
    std::vector<PopupCall> calls;
};

class FakeCloseTimer : public CloseTimer
{
public:
    void arm(quint64 ms) override { armed.push_back(ms); }
    std::vector<quint64> armed;
};

} // namespace test
