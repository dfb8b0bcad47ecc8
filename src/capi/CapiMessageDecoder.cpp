#include "capi/CapiMessageDecoder.h"

#include <algorithm>
#include <cstring>

namespace {

// Enough zero bytes after the copy that a read position kept in 16 bits,
// plus the few bytes read at it, stays inside.
constexpr std::size_t kCopySize = 65536 + 16;
// Packing a record whose structs all lie inside a message of at most
// kMaxMessage bytes gives at most a few bytes more (a composed struct may be
// written in the long form).
constexpr std::size_t kPackedSize = CapiMessageDecoder::kMaxMessage + 256;

struct CommandPair
{
    std::uint8_t command;
    std::uint8_t subcommand;
};

// The CAPI 2.0 messages. libcapi20's own lookup (capi_cmd2str) cannot be
// asked first: for many command values it indexes past its table, returns
// garbage or crashes.
constexpr CommandPair kKnownCommands[] = {
    {0x01, 0x80}, {0x01, 0x81},                             // ALERT
    {0x02, 0x80}, {0x02, 0x81}, {0x02, 0x82}, {0x02, 0x83}, // CONNECT
    {0x03, 0x82}, {0x03, 0x83},                             // CONNECT_ACTIVE
    {0x04, 0x80}, {0x04, 0x81}, {0x04, 0x82}, {0x04, 0x83}, // DISCONNECT
    {0x05, 0x80}, {0x05, 0x81},                             // LISTEN
    {0x08, 0x80}, {0x08, 0x81}, {0x08, 0x82}, {0x08, 0x83}, // INFO
    {0x41, 0x80}, {0x41, 0x81},                             // SELECT_B_PROTOCOL
    {0x80, 0x80}, {0x80, 0x81}, {0x80, 0x82}, {0x80, 0x83}, // FACILITY
    {0x82, 0x80}, {0x82, 0x81}, {0x82, 0x82}, {0x82, 0x83}, // CONNECT_B3
    {0x83, 0x82}, {0x83, 0x83},                             // CONNECT_B3_ACTIVE
    {0x84, 0x80}, {0x84, 0x81}, {0x84, 0x82}, {0x84, 0x83}, // DISCONNECT_B3
    {0x86, 0x80}, {0x86, 0x81}, {0x86, 0x82}, {0x86, 0x83}, // DATA_B3
    {0x87, 0x80}, {0x87, 0x81}, {0x87, 0x82}, {0x87, 0x83}, // RESET_B3
    {0x88, 0x82}, {0x88, 0x83},                             // CONNECT_B3_T90_ACTIVE
    {0xff, 0x80}, {0xff, 0x81}, {0xff, 0x82}, {0xff, 0x83}, // MANUFACTURER
};

// Every struct field of the record that the unpacker may point into the
// message.
constexpr _cstruct _cmsg::*kStructFields[] = {
    &_cmsg::B1configuration,
    &_cmsg::B2configuration,
    &_cmsg::B3configuration,
    &_cmsg::BC,
    &_cmsg::BChannelinformation,
    &_cmsg::CalledPartyNumber,
    &_cmsg::CalledPartySubaddress,
    &_cmsg::CallingPartyNumber,
    &_cmsg::CallingPartySubaddress,
    &_cmsg::ConnectedNumber,
    &_cmsg::ConnectedSubaddress,
    &_cmsg::FacilityConfirmationParameter,
    &_cmsg::Facilitydataarray,
    &_cmsg::FacilityIndicationParameter,
    &_cmsg::FacilityRequestParameter,
    &_cmsg::FacilityResponseParameters,
    &_cmsg::Globalconfiguration,
    &_cmsg::HLC,
    &_cmsg::InfoElement,
    &_cmsg::Keypadfacility,
    &_cmsg::LLC,
    &_cmsg::ManuData,
    &_cmsg::NCPI,
    &_cmsg::Useruserdata,
    &_cmsg::SendingComplete,
};

std::uint16_t word(const std::uint8_t* p)
{
    return std::uint16_t(p[0] | (p[1] << 8));
}

// The offset just past a struct that starts at `offset`, or 0 when the
// struct does not lie wholly within the first `length` bytes.
std::size_t structEnd(const std::uint8_t* message, std::size_t offset, std::size_t length)
{
    if (offset >= length)
        return 0;
    std::size_t end;
    if (message[offset] != 0xff) {
        end = offset + 1 + message[offset];
    } else {
        if (offset + 3 > length)
            return 0;
        end = offset + 3 + word(message + offset + 1);
    }
    return end <= length ? end : 0;
}

} // namespace

CapiMessageDecoder::CapiMessageDecoder() : m_copy(kCopySize, 0), m_packed(kPackedSize, 0) {}

bool CapiMessageDecoder::isKnownCommand(std::uint8_t command, std::uint8_t subcommand)
{
    return std::any_of(
        std::begin(kKnownCommands), std::end(kKnownCommands),
        [&](const CommandPair& p) { return p.command == command && p.subcommand == subcommand; });
}

bool CapiMessageDecoder::decode(const std::uint8_t* bytes, std::size_t received, _cmsg& record)
{
    std::memset(&record, 0, sizeof record);
    if (bytes == nullptr || received < 8)
        return false;
    const std::size_t length = word(bytes);
    if (length < 8 || length > received || length > kMaxMessage)
        return false;
    const std::uint8_t command = bytes[4];
    const std::uint8_t subcommand = bytes[5];
    if (!isKnownCommand(command, subcommand) || capi_cmd2str(command, subcommand) == nullptr)
        return false;

    // Only the bytes written last time can be non-zero.
    std::memset(m_copy.data(), 0, m_dirty);
    std::memcpy(m_copy.data(), bytes, length);
    m_dirty = length;

    capi_message2cmsg(&record, m_copy.data());
    if (!structsInside(record, length) || !parametersFit(record, length)) {
        std::memset(&record, 0, sizeof record);
        return false;
    }
    return true;
}

bool CapiMessageDecoder::structsInside(const _cmsg& record, std::size_t length) const
{
    const std::uint8_t* begin = m_copy.data();
    for (auto field : kStructFields) {
        const std::uint8_t* s = record.*field;
        if (s == nullptr)
            continue;
        if (s < begin || s >= begin + length)
            return false;
        if (structEnd(begin, std::size_t(s - begin), length) == 0)
            return false;
    }
    return true;
}

bool CapiMessageDecoder::parametersFit(_cmsg& record, std::size_t length)
{
    // Packing the record again gives the length its parameters need; the
    // structs were checked above, so packing reads only inside the message.
    _cmsg again = record;
    capi_cmsg2message(&again, m_packed.data());
    return word(m_packed.data()) <= length;
}

void CapiMessageDecoder::copyStruct(const std::uint8_t* source, std::uint8_t* out,
                                    std::size_t outSize)
{
    if (out == nullptr || outSize == 0)
        return;
    std::memset(out, 0, outSize);
    if (source == nullptr)
        return;
    std::size_t contentLength = source[0];
    const std::uint8_t* content = source + 1;
    if (source[0] == 0xff) {
        contentLength = word(source + 1);
        content = source + 3;
    }
    // 254 at most: a length byte of 0xff would announce the long form.
    const std::size_t copied = std::min({contentLength, outSize - 1, std::size_t(254)});
    out[0] = std::uint8_t(copied);
    std::memcpy(out + 1, content, copied);
}
