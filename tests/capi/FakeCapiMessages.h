#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Raw CAPI 2.0 messages for tests, built byte by byte (little-endian), so a
// test sees exactly what a line would deliver.
namespace FakeCapiMessages {

using Bytes = std::vector<std::uint8_t>;

// A message with the 8-byte header (length word computed) and `parameters`.
Bytes message(std::uint8_t command, std::uint8_t subcommand, std::uint16_t messageNumber,
              const Bytes& parameters, std::uint16_t applId = 1);

// Parameter pieces.
Bytes word(std::uint16_t value);
Bytes dword(std::uint32_t value);
// A struct: its length byte, then `content` (the long form, 0xff and a
// 16-bit length, when content has 255 bytes or more).
Bytes cstruct(const Bytes& content);
Bytes concat(std::initializer_list<Bytes> parts);

// Called party number struct: type of number/numbering plan 0x81, digits.
Bytes calledNumber(const std::string& digits);
// Calling party number struct: type/plan 0x01, presentation/screening 0x80,
// digits. Empty digits give an empty struct (length byte 0).
Bytes callingNumber(const std::string& digits);

// CONNECT_IND: PLCI, CIP value, called and calling number structs (as given,
// length byte included), then six empty structs (subaddresses, BC, LLC, HLC,
// additional info).
Bytes connectInd(std::uint16_t messageNumber, std::uint32_t plci, std::uint16_t cip,
                 const Bytes& calledStruct, const Bytes& callingStruct, std::uint16_t applId = 1);
Bytes listenConf(std::uint32_t controller, std::uint16_t info, std::uint16_t messageNumber = 0,
                 std::uint16_t applId = 1);
Bytes connectConf(std::uint32_t plci, std::uint16_t info, std::uint16_t messageNumber = 0);
Bytes disconnectConf(std::uint32_t plci, std::uint16_t info, std::uint16_t messageNumber = 0);
Bytes disconnectInd(std::uint32_t plci, std::uint16_t reason, std::uint16_t messageNumber = 0);
Bytes infoInd(std::uint32_t plci, std::uint16_t infoNumber, const Bytes& infoElement,
              std::uint16_t messageNumber = 0);

// Lowercase hex of bytes, for messages in test output.
std::string hex(const Bytes& bytes);
std::string hex(const std::uint8_t* bytes, std::size_t size);

} // namespace FakeCapiMessages
