#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Builds the messages the exchange sends and the two frame formats of the
// CAPI-over-TCP protocol.
namespace capi {

// The largest frame the exchange sends: libcapi20 reads frames into a
// 4096-byte buffer on its stack and overflows it on anything longer.
constexpr size_t kMaxFrame = 4096;
constexpr size_t kMaxFramedMessage = kMaxFrame - 3;

// 0x80, 16-bit length, message: every message except two replies.
std::string frame(const std::string& message);
// Type byte, 8-bit length, message: the replies to REGISTER and GET_PROFILE.
std::string shortFrame(const std::string& message);

// The reply to REGISTER: the application id at bytes 2-3, the result at
// bytes 16-17 (0: registered).
std::string registerReply(uint16_t applId, uint16_t msgnum, uint16_t info);
// The reply to GET_PROFILE: bytes 18-81 are the 64-byte profile, whose
// first word is the number of controllers.
std::string profileReply(uint16_t msgnum, uint16_t controllers);
std::string listenConf(uint16_t applId, uint16_t msgnum, uint32_t controller, uint16_t info);

struct ConnectIndication
{
    uint16_t applId = 0;
    uint16_t msgnum = 0;
    uint32_t plci = 0;
    uint16_t cip = 0;
    std::string calledDigits;
    // nullopt: no calling party number at all (an empty struct).
    std::optional<std::string> callingDigits;
};
// Longest digit strings that still fit a one-byte struct length.
constexpr size_t kMaxCalledDigits = 253;
constexpr size_t kMaxCallingDigits = 252;

std::string connectInd(const ConnectIndication& call);

} // namespace capi
