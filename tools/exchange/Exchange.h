#pragma once

#include "CallMonitor.h"
#include "CapiConnection.h"
#include "CapiDecoder.h"
#include "CapiHandler.h"
#include "CommandLine.h"
#include "ControlServer.h"
#include "EventLog.h"
#include "platform/SignalPipe.h"

#include <chrono>
#include <deque>
#include <map>
#include <optional>
#include <string>

class ApplIdAllocator;

// The simulated line: a CAPI-over-TCP server for libcapi20's fritzbox
// module, optionally a call monitor, and the control channel that makes it
// ring, go quiet or drop its connections. Everything runs in one poll()
// loop.
class Exchange
{
public:
    using Clock = std::chrono::steady_clock;
    // After "quit" the reply still has to reach the client; wait this long
    // for it at most.
    static constexpr std::chrono::seconds kReplyGrace{2};

    Exchange(const ServeOptions& options, EventLog& log, ApplIdAllocator& ids);

    // Opens the listening sockets and the control socket and writes the
    // port files (the CAPI port file last: once it exists, everything
    // answers). Sets error when something cannot be opened.
    bool start(std::string& error);
    // Serves until "quit", SIGTERM or SIGINT.
    void run();

private:
    // Event loop
    void pollOnce();
    int timeoutUntilNextDeadline() const;
    void acceptCapi();
    void onCapi(unsigned number, short revents);
    void closeCapi(unsigned number, const char* reason);
    // The first armed ring goes off when it waits for a message of this
    // kind.
    void ringArmedFor(capi::MessageKind kind);
    bool idInUse(uint16_t applId) const;
    void reopenAfterRefusal();
    void shutDown(const std::string& reason);

    // Control commands (ExchangeCommands.cpp)
    std::string onControlLine(const std::string& line);
    std::string execute(const ControlRequest& request);
    std::string ring(const ControlRequest& request);
    std::string sendRaw(const ControlRequest& request, bool framed);
    std::string drop();
    std::string refuse(const ControlRequest& request);
    std::string setSilent(const ControlRequest& request);
    std::string setMute(const ControlRequest& request);
    std::string cmRaw(const ControlRequest& request);
    // A rung call taken at an extension, and ended (call monitor only).
    std::string connectCall(const ControlRequest& request);
    std::string disconnectCall(const ControlRequest& request);
    // The number of the call a command names (`call`, or the last rung);
    // nullopt with the error when that is not a call that rings or talks.
    std::optional<uint8_t> rungCall(const ControlRequest& request, std::string& error) const;
    std::string status() const;

    ServeOptions m_options;
    EventLog& m_log;
    ApplIdAllocator& m_ids;
    CapiHandler m_handler;
    SignalPipe m_signals;
    ControlServer m_control;
    CallMonitor m_callMonitor;
    FileDescriptor m_capiListener;
    uint16_t m_port = 0;
    std::map<unsigned, CapiConnection> m_capi;
    // Rings armed to go off when a client's message of a kind arrives
    // (CAPI_RELEASE or LISTEN_REQ), one each, in order.
    struct ArmedRing
    {
        capi::MessageKind trigger;
        ControlRequest request;
    };
    std::deque<ArmedRing> m_armedRings;

    unsigned m_nextConnection = 1;
    uint16_t m_nextMsgnum = 1;
    uint8_t m_nextCall = 1;
    // The calls rung and not yet ended, by call number, and the last of
    // them: the call monitor's CONNECT and DISCONNECT are sent for these.
    struct RungCall
    {
        std::string caller;
        std::optional<Clock::time_point> connectedAt;
    };
    std::map<uint8_t, RungCall> m_rungCalls;
    uint8_t m_lastRung = 0;
    bool m_silent = false;
    std::optional<Clock::time_point> m_listenAgainAt;
    bool m_stopping = false;
    Clock::time_point m_stopDeadline;
    std::string m_stopReason;
};
