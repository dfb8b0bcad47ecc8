#pragma once

#include <capi20.h>
#include <cstddef>
#include <cstdint>
#include <vector>

// Unpacks received CAPI messages into a libcapi20 message record, but only
// messages that libcapi20's unpacker can take without harm.
//
// capi_message2cmsg trusts what it is given: it crashes on a command it does
// not know and follows every struct length wherever it points. So a message
// is unpacked only when
// - it is a CAPI 2.0 command/subcommand pair the library knows,
// - its own length word covers at least the 8-byte header and no more than
//   was received,
// - every struct of the unpacked record lies inside the message, and
// - the message is long enough for all its parameters.
// Anything else is refused, and the caller drops it like an unknown message.
//
// The unpacking runs on a copy followed by 64 KiB of zero bytes: the unpacker
// keeps its read position in 16 bits, so whatever the message says, it never
// reads outside that copy. The record's struct pointers point into the copy
// and stay valid until the next decode().
class CapiMessageDecoder
{
public:
    // The longest message accepted, as the longest frame the line may send.
    static constexpr std::size_t kMaxMessage = 4096;

    CapiMessageDecoder();

    // Unpacks `received` bytes into `record`. False: refused, record cleared.
    bool decode(const std::uint8_t* bytes, std::size_t received, _cmsg& record);

    // True for the command/subcommand pairs that CAPI 2.0 defines.
    static bool isKnownCommand(std::uint8_t command, std::uint8_t subcommand);

    // Copies a struct of a decoded record (length byte first, as CAPI 2.0
    // lays it out) into `out` of `outSize` bytes: the length byte, then the
    // content. A struct longer than the buffer is cut: at most outSize - 1
    // content bytes are copied and the length byte says how many were. A
    // struct in the long form (length byte 0xFF, then a 16-bit length) is
    // copied the same way, as length byte and content. A missing struct
    // (null) is copied as an empty one. The rest of `out` is zeroed.
    static void copyStruct(const std::uint8_t* source, std::uint8_t* out, std::size_t outSize);

private:
    bool structsInside(const _cmsg& record, std::size_t length) const;
    bool parametersFit(_cmsg& record, std::size_t length);

    std::vector<std::uint8_t> m_copy;   // the message, then zero bytes
    std::vector<std::uint8_t> m_packed; // room to pack a record again
    std::size_t m_dirty = 0;            // bytes of m_copy that may be non-zero
};
