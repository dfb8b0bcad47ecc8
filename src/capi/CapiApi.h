#pragma once

#include <cstddef>
#include <cstdint>

// CAPI 2.0 result codes that the link looks at. Everything else is passed on
// as the number CAPI gave.
constexpr unsigned kCapiNoError = 0x0000;
constexpr unsigned kCapiIllegalApplId = 0x1101;
constexpr unsigned kCapiIllegalMessage = 0x1102;
constexpr unsigned kCapiQueueEmpty = 0x1104;
// CapiMsgOSResourceErr. Our library wrapper reports with it that the
// connection to the line is gone (the other side closed it, or it sent
// something that cannot be read safely), so that an empty queue and a dead
// line can be told apart.
constexpr unsigned kCapiLineLost = 0x1108;

// The six CAPI 2.0 operations the program uses, behind an interface so that
// tests can put a scripted line in place of libcapi20. Each returns the CAPI
// result code, 0 on success.
class CapiApi
{
public:
    virtual ~CapiApi() = default;

    // CAPI_INSTALLED.
    virtual unsigned installed() = 0;
    // CAPI_REGISTER; on success *applId is the new application id.
    virtual unsigned registerApplication(unsigned messageBufferSize, unsigned maxLogicalConnections,
                                         unsigned maxBDataBlocks, unsigned maxBDataLength,
                                         unsigned* applId) = 0;
    // CAPI_RELEASE.
    virtual unsigned release(unsigned applId) = 0;
    // CAPI_PUT_MESSAGE of a packed message (its own length word says how many
    // bytes it has). The bytes are taken over before it returns.
    virtual unsigned putMessage(unsigned applId, const std::uint8_t* message) = 0;
    // CAPI_GET_MESSAGE. Returns at once: kCapiQueueEmpty when no whole message
    // is waiting, kCapiLineLost when the line is gone. On success *message
    // points at the received bytes and *size says how many were received; they
    // stay valid until the next call.
    virtual unsigned getMessage(unsigned applId, const std::uint8_t** message,
                                std::size_t* size) = 0;
    // CAPI_GET_PROFILE into a 64-byte buffer.
    virtual unsigned getProfile(unsigned controller, std::uint8_t* profile64) = 0;

    // After a successful register: watch the connection of this
    // registration, so that a line that vanishes without closing it (a
    // router that lost power, a cable pulled) is noticed. Nothing to do for
    // a line that cannot vanish that way.
    virtual void watchConnection(unsigned applId) { (void)applId; }
    // A descriptor that becomes readable when something arrives for this
    // registration, so that the program can wake on it instead of waiting
    // for its next poll; -1 when there is none.
    virtual int descriptor(unsigned applId) { return (void)applId, -1; }
    // Waits up to `timeoutMs` for something to arrive for this
    // registration: 1 when something has, 0 when the time is up, -1 when
    // there is nothing to wait on.
    virtual int waitForMessage(unsigned applId, int timeoutMs);
};
