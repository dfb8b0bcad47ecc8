#pragma once

#include "capi/CapiMessageDecoder.h"

#include <QString>
#include <array>
#include <capi20.h>
#include <cstddef>
#include <cstdint>
#include <functional>

class CapiApi;

// The program's one contact with the telephone line: registers with CAPI,
// asks every controller to indicate every incoming call, fetches one message
// per poll, answers each call indication with a CONNECT_RESP that ignores the
// call, hands the call on, then registers and listens anew.
//
// Every CAPI failure that is checked is fatal: CapiFatal reports it through
// the fatal handler, which in the program shows it and ends the process. A
// handler that returns (as in tests) finds every operation stopped at the
// point of the failure.
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

    // Called for each incoming call, after both number copies are made and
    // the CONNECT_RESP has been sent; it reads the copies from the link.
    void setCallHandler(std::function<void()> handler);
    // Called by CapiFatal with the text. Without one, the text goes to
    // standard error and the process ends with exit code 1.
    void setFatalHandler(std::function<void(const QString&)> handler);

    // Why the registration must be made anew.
    enum class Renewal
    {
        AfterCall, // every call indication is followed by a new registration
        LineLost,  // the connection to the line is gone
    };
    // Who makes the registration anew. Without one the link releases,
    // registers and listens again itself, in the same tick; with one (the
    // program keeps the line in the background and retries when it is
    // gone) the handler is told and the link does nothing more.
    void setRenewalHandler(std::function<void(Renewal)> handler);

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
    // Fetches and handles at most one message; does nothing while not
    // registered (a stale application id may belong to another program).
    // A call goes to the call handler, then the registration is made anew
    // (through the renewal handler when there is one).
    void PollCapi();
    // Takes one message off the line: a confirmation is acted on, a call
    // indication answered with its CONNECT_RESP and returned. Nothing else
    // is done for a call; the caller hands it on and renews.
    Fetched fetchOne();
    // Takes every message already waiting for this registration, in order,
    // before it is released: each call indication is answered and handed to
    // `onCall`; confirmations are dropped (the registration is going). Ends
    // at the first empty fetch or when the line is gone.
    void drain(const std::function<void(const Call&)>& onCall);
    // The two handlers of a fetched message in receivedMessage().
    void OnConfirmation();
    void OnConnectInd();
    // Reports a fatal failure to the fatal handler.
    void CapiFatal(const QString& text);

    // The last message fetched, unpacked; after a call indication it holds
    // the CONNECT_RESP that was sent.
    const _cmsg& receivedMessage() const { return m_receivedMessage; }
    // The Calling party number and Called party number of the last call
    // indication: the length byte n, then n bytes (cut, see
    // CapiMessageDecoder::copyStruct), then zeros.
    const std::uint8_t* callingNumberCopy() const { return m_callingNumberCopy; }
    const std::uint8_t* calledNumberCopy() const { return m_calledNumberCopy; }

private:
    // What to do when the line is found lost; today: register anew.
    void OnLineLost();
    // fetchOne, with confirmations acted on or dropped.
    Fetched fetch(bool actOnConfirmations);
    // Copies the numbers of the call indication in m_receivedMessage into
    // the copies and *call, and puts the CONNECT_RESP. False when the put
    // found the connection gone.
    bool answerCall(Call* call);
    // After a call handed to the call handler: renew through the handler,
    // or here.
    void renewAfterCall(bool responseLost);
    // drain (when asked and the line is not known lost; each call goes to
    // the call handler), ReleaseCapi, RegisterWithCapi,
    // ListenAll(kCipMaskAll), stopping at a fatal failure. False after one.
    bool RenewRegistration(bool drainFirst);
    unsigned putRecord(_cmsg& record);

    CapiApi& m_api;
    CapiMessageDecoder m_decoder;
    std::uint16_t m_applId = 0;
    _cmsg m_receivedMessage{};
    std::uint8_t m_callingNumberCopy[kNumberCopySize]{};
    std::uint8_t m_calledNumberCopy[kNumberCopySize]{};
    std::function<void()> m_callHandler;
    std::function<void(const QString&)> m_fatalHandler;
    std::function<void(Renewal)> m_renewalHandler;
    bool m_polling = false;
    bool m_registered = false;
    // Listen requests put and not yet confirmed.
    unsigned m_listensToConfirm = 0;
    bool m_listenRefused = false;
    unsigned m_fatalCount = 0;
};
