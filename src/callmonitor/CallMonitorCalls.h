#pragma once

#include "callmonitor/CallMonitorParser.h"
#include "line/LineCallEnd.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

// The incoming calls of a call monitor connection from their RING to their
// end. After a RING the router sends, for the same connection id, CONNECT
// with the extension that took the call and DISCONNECT with its length, or
// DISCONNECT alone when nobody took it. The ids are the router's own and
// are used again for later calls: they mean something only on the
// connection that carried the RING.
class CallMonitorCalls
{
public:
    // An event of the connection. The end of a followed call when the
    // event ends one: its DISCONNECT, or anything else that shows that its
    // id is now another call's (the call's end was never sent: Unknown).
    std::optional<LineCallEnd> follow(const CallMonitorEvent& event);
    // The connection is gone: every call not yet ended is Unknown, as
    // whatever became of it was not heard.
    std::vector<LineCallEnd> lose();

    int open() const { return int(m_calls.size()); }

private:
    struct Open
    {
        bool connected = false;
        std::string extension;
    };
    static LineCallEnd unknown(const std::string& id);

    std::map<std::string, Open> m_calls;
};
