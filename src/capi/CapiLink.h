#pragma once

#include "capi/CapiMessageDecoder.h"

#include <QString>
#include <array>
#include <capi20.h>
#include <cstddef>
#include <cstdint>
#include <functional>

class CapiApi;

// One registration with CAPI, the program's contact with the telephone line:
// registers, asks every controller to indicate every incoming call, fetches
// one message at a time and answers each call indication with a CONNECT_RESP
// that ignores the call. Who holds it (LineKeeper, CapiListener) hands the
// call on and moves to a new registration (handOverLine).
//
// Every CAPI failure that is checked is reported through the fatal handler:
// in the program, at start-up, it shows the failure and ends the process;
// during a hand-over it is captured as the reason the line is lost. A
// handler that returns finds every operation stopped at the point of the
// failure. Without a handler the text goes to standard error and the process
// ends at once with exit code 1.
//
// The link is not thread-safe: one thread at a time may use it.
class CapiLink
{
public:
    // Register parameters.
    static constexpr unsigned kMessageBufferSize = 3072;
    static constexpr unsigned kMaxLogicalConnections = 2;
    static constexpr unsigned kMaxBDataBlocks = 7;
    static constexpr unsigned kMaxBDataLength = 2048;
    // Every CIP value: bits 0 to 9 and 16 to 28.
    static constexpr std::uint32_t kCipMaskAll = 0x1FFF03FF;
    // Size of each number copy: a length byte and at most 207 bytes.
    static constexpr std::size_t kNumberCopySize = 208;
    // Reject value of the CONNECT_RESP: ignore the call.
    static constexpr std::uint16_t kRejectIgnore = 1;

    // The two number structs of one call indication, as copied, and the
    // PLCI that names the call on its controller (every registration that
    // is told of the call is told the same PLCI).
    struct Call
    {
        std::array<std::uint8_t, kNumberCopySize> calling{};
        std::array<std::uint8_t, kNumberCopySize> called{};
        std::uint32_t plci = 0;
    };

    // What one fetch from the line came to.
    struct Fetched
    {
        enum class Kind
        {
            Nothing,  // no whole message waiting
            Message,  // a message was taken and dealt with
            Call,     // a call indication, answered with its CONNECT_RESP
            LineLost, // the connection to the line is gone
        };
        Kind kind = Kind::Nothing;
        // Call: the CONNECT_RESP could not be put because the connection is
        // gone (the call is still a call).
        bool responseLost = false;
        Call call;
    };

    explicit CapiLink(CapiApi& api);

    CapiLink(const CapiLink&) = delete;
    CapiLink& operator=(const CapiLink&) = delete;

    // Called by CapiFatal with the text.
    void setFatalHandler(std::function<void(const QString&)> handler);

    // The application id the last CAPI_REGISTER returned.
    std::uint16_t applId() const { return m_applId; }
    // True from a successful RegisterWithCapi to the next ReleaseCapi.
    bool isRegistered() const { return m_registered; }

    // Install check and CAPI_REGISTER. False after a fatal failure, and
    // false without touching CAPI while a registration stands: a second one
    // would leave the first behind, listening with nobody fetching.
    bool RegisterWithCapi();
    // CAPI_RELEASE. False after a fatal failure. Does nothing when not
    // registered.
    bool ReleaseCapi();
    // The number of installed controllers (CAPI_GET_PROFILE of controller 0).
    // On failure: fatal, 0 returned, and *capiResult (when given) holds the
    // CAPI result.
    std::uint16_t CountControllers(unsigned* capiResult = nullptr);
    // One LISTEN_REQ per controller 1..n. Returns 0, the first failing put
    // result (the remaining controllers get none), or the failing
    // CAPI_GET_PROFILE result (after the fatal failure).
    unsigned ListenAll(std::uint32_t cipMask);

    enum class Listening
    {
        Confirmed,    // every listen request is confirmed (or cannot be waited for)
        NotConfirmed, // the time is up
        Refused,      // the line refused one (fatal, as in a poll)
        LineLost,
    };
    // Waits up to `limitMs` until the line has confirmed every listen
    // request of this registration: only then is a call sure to reach it.
    // A call indicated meanwhile is answered and handed to `onCall`.
    Listening awaitListening(int limitMs, const std::function<void(const Call&)>& onCall);
    // Takes one message off the line: a confirmation is acted on, a call
    // indication answered with its CONNECT_RESP and returned. Nothing else
    // is done for a call; the caller hands it on and renews.
    Fetched fetchOne();
    // Takes every message already waiting for this registration, in order,
    // before it is released: each call indication is answered and handed to
    // `onCall`; confirmations are dropped (the registration is going). Ends
    // at the first empty fetch or when the line is gone.
    void drain(const std::function<void(const Call&)>& onCall);
    // Reports a fatal failure to the fatal handler.
    void CapiFatal(const QString& text);

private:
    // Acts on a confirmation in m_receivedMessage: a refused listen request
    // is fatal.
    void OnConfirmation();
    // fetchOne, with confirmations acted on or dropped.
    Fetched fetch(bool actOnConfirmations);
    // Copies the numbers of the call indication in m_receivedMessage into
    // *call (the length byte n, then n bytes, cut as
    // CapiMessageDecoder::copyStruct cuts them, then zeros) and puts the
    // CONNECT_RESP. False when the put found the connection gone.
    bool answerCall(Call* call);
    unsigned putRecord(_cmsg& record);

    CapiApi& m_api;
    CapiMessageDecoder m_decoder;
    std::uint16_t m_applId = 0;
    _cmsg m_receivedMessage{};
    std::function<void(const QString&)> m_fatalHandler;
    bool m_registered = false;
    // Listen requests put and not yet confirmed.
    unsigned m_listensToConfirm = 0;
    bool m_listenRefused = false;
};
