#pragma once

#include "CapiConnection.h"
#include "CommandLine.h"

#include <cstdint>
#include <functional>
#include <string>

class ApplIdAllocator;
class EventLog;

// Understands what a CAPI client sends and answers as a router's CAPI
// server does: REGISTER and GET_PROFILE with their 2-byte-header replies,
// LISTEN_REQ with LISTEN_CONF; everything else is logged and left
// unanswered. Every message in either direction goes to the log.
class CapiHandler
{
public:
    using IdInUse = std::function<bool(uint16_t)>;

    CapiHandler(EventLog& log, ApplIdAllocator& ids, const ServeOptions& options);

    // Handles one received message (a frame's content). False when the
    // connection broke while answering.
    bool handle(CapiConnection& conn, const std::string& message, const IdInUse& idInUse);

    // Sends a message the exchange originates as one "0x80" frame, and logs
    // it as SENT. False when the connection is broken.
    bool sendMessage(CapiConnection& conn, const std::string& message);
    // Sends bytes exactly as given (no frame header), logged as SENT.
    bool sendBytes(CapiConnection& conn, const std::string& bytes);

private:
    bool onRegister(CapiConnection& conn, const std::string& message, uint16_t msgnum,
                    const IdInUse& idInUse);
    bool onGetProfile(CapiConnection& conn, const std::string& message, uint16_t msgnum);
    bool onListenReq(CapiConnection& conn, const std::string& message);
    bool sendReply(CapiConnection& conn, const std::string& reply, const char* name);

    EventLog& m_log;
    ApplIdAllocator& m_ids;
    const ServeOptions& m_options;
};
