#include "FakeCapiMessages.h"

#include <cstdio>

namespace FakeCapiMessages {

Bytes word(std::uint16_t value)
{
    return {std::uint8_t(value & 0xff), std::uint8_t(value >> 8)};
}

Bytes dword(std::uint32_t value)
{
    return {std::uint8_t(value & 0xff), std::uint8_t((value >> 8) & 0xff),
            std::uint8_t((value >> 16) & 0xff), std::uint8_t(value >> 24)};
}

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes cstruct(const Bytes& content)
{
    if (content.size() < 255)
        return concat({{std::uint8_t(content.size())}, content});
    return concat({{0xff}, word(std::uint16_t(content.size())), content});
}

Bytes message(std::uint8_t command, std::uint8_t subcommand, std::uint16_t messageNumber,
              const Bytes& parameters, std::uint16_t applId)
{
    return concat({word(std::uint16_t(8 + parameters.size())),
                   word(applId),
                   {command, subcommand},
                   word(messageNumber),
                   parameters});
}

Bytes calledNumber(const std::string& digits)
{
    return cstruct(concat({{0x81}, Bytes(digits.begin(), digits.end())}));
}

Bytes callingNumber(const std::string& digits)
{
    if (digits.empty())
        return {0};
    return cstruct(concat({{0x01, 0x80}, Bytes(digits.begin(), digits.end())}));
}

Bytes connectInd(std::uint16_t messageNumber, std::uint32_t plci, std::uint16_t cip,
                 const Bytes& calledStruct, const Bytes& callingStruct, std::uint16_t applId)
{
    const Bytes emptyStructs(6, 0);
    return message(0x02, 0x82, messageNumber,
                   concat({dword(plci), word(cip), calledStruct, callingStruct, emptyStructs}),
                   applId);
}

Bytes listenConf(std::uint32_t controller, std::uint16_t info, std::uint16_t messageNumber,
                 std::uint16_t applId)
{
    return message(0x05, 0x81, messageNumber, concat({dword(controller), word(info)}), applId);
}

Bytes connectConf(std::uint32_t plci, std::uint16_t info, std::uint16_t messageNumber)
{
    return message(0x02, 0x81, messageNumber, concat({dword(plci), word(info)}));
}

Bytes disconnectConf(std::uint32_t plci, std::uint16_t info, std::uint16_t messageNumber)
{
    return message(0x04, 0x81, messageNumber, concat({dword(plci), word(info)}));
}

Bytes disconnectInd(std::uint32_t plci, std::uint16_t reason, std::uint16_t messageNumber)
{
    return message(0x04, 0x82, messageNumber, concat({dword(plci), word(reason)}));
}

Bytes infoInd(std::uint32_t plci, std::uint16_t infoNumber, const Bytes& infoElement,
              std::uint16_t messageNumber)
{
    return message(0x08, 0x82, messageNumber,
                   concat({dword(plci), word(infoNumber), cstruct(infoElement)}));
}

std::string hex(const std::uint8_t* bytes, std::size_t size)
{
    std::string out;
    char two[3];
    for (std::size_t i = 0; i < size; ++i) {
        std::snprintf(two, sizeof two, "%02x", bytes[i]);
        out += two;
    }
    return out;
}

std::string hex(const Bytes& bytes)
{
    return hex(bytes.data(), bytes.size());
}

} // namespace FakeCapiMessages
