#include "CallTestSupport.h"

namespace test {

std::vector<uint8_t> callingStruct(const std::string& digits)
{
    std::vector<uint8_t> s{uint8_t(digits.size() + 2), 0x01, 0x80};
    s.insert(s.end(), digits.begin(), digits.end());
    s.resize(208, 0);
    return s;
}

std::vector<uint8_t> calledStruct(const std::string& digits)
{
    std::vector<uint8_t> s{uint8_t(digits.size() + 1), 0x81};
    s.insert(s.end(), digits.begin(), digits.end());
    s.resize(208, 0);
    return s;
}

std::vector<uint8_t> rawStruct(std::vector<uint8_t> octets, int lengthOctet)
{
    std::vector<uint8_t> s{uint8_t(lengthOctet < 0 ? int(octets.size()) : lengthOctet)};
    s.insert(s.end(), octets.begin(), octets.end());
    s.resize(208, 0);
    return s;
}

} // namespace test
