#pragma once

#include <cstdint>
#include <string>

// Reads the few messages a CAPI client sends to the exchange. The exchange
// is the independent witness in tests, so it decodes them itself instead of
// using libcapi20's codec.
namespace capi {

// Little-endian reads; bytes past the end count as zero.
uint16_t word(const std::string& message, size_t offset);
uint32_t dword(const std::string& message, size_t offset);

// "LISTEN_CONF" for a known command/subcommand pair, else "0x05/0x81".
std::string commandName(uint8_t command, uint8_t subcommand);

enum class MessageKind
{
    Register,   // the remote-CAPI call CAPI_REGISTER
    GetProfile, // the remote-CAPI call CAPI_GET_PROFILE
    Release,    // the remote-CAPI call CAPI_RELEASE
    ListenReq,
    ConnectResp,
    Other,
};

struct DecodedMessage
{
    MessageKind kind = MessageKind::Other;
    uint16_t lengthWord = 0;
    uint16_t appl = 0;
    uint8_t command = 0;
    uint8_t subcommand = 0;
    uint16_t msgnum = 0;
    // The message ends before the parameters of its kind.
    bool truncated = false;

    uint32_t controller = 0; // LISTEN_REQ; the controller asked for by GET_PROFILE
    uint32_t infoMask = 0;
    uint32_t cipMask = 0;
    uint32_t cipMask2 = 0;
    uint32_t plci = 0; // CONNECT_RESP
    uint16_t reject = 0;
};

// message: the bytes of one frame, at least the 8 bytes of a CAPI header.
DecodedMessage decode(const std::string& message);

} // namespace capi
