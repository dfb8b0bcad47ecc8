#pragma once

#include "FileDescriptor.h"
#include "Outbox.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>

class EventLog;
class PollSet;

// A router's call monitor: a TCP server whose clients receive one text line
// per call event. The exchange reads and ignores whatever clients send.
class CallMonitor
{
public:
    using NumberSource = std::function<unsigned()>;

    CallMonitor(EventLog& log, NumberSource nextConnection);

    // Listens on 127.0.0.1:port (0: a free port, remembered for reopen()).
    bool listen(uint16_t port, std::string& error);
    bool reopen(std::string& error) { return listen(m_port, error); }
    void closeListener() { m_listener.reset(); }
    bool listening() const { return m_listener.valid(); }
    uint16_t port() const { return m_port; }

    void addToPoll(PollSet& set);

    // Sends text to every client that is not muted; the number reached.
    unsigned broadcast(const std::string& text);
    // Closes every client; the number closed.
    unsigned dropAll(const char* reason);
    // Mutes or unmutes the clients connected now; the number changed.
    unsigned setMuted(bool muted);
    unsigned clientCount() const { return unsigned(m_clients.size()); }
    unsigned mutedCount() const;

private:
    struct Client
    {
        FileDescriptor fd;
        Outbox outbox;
        bool muted = false;
    };

    void acceptClients();
    void onClient(unsigned number, short revents);
    void close(unsigned number, const char* reason);

    EventLog& m_log;
    NumberSource m_nextConnection;
    FileDescriptor m_listener;
    uint16_t m_port = 0;
    std::map<unsigned, Client> m_clients;
};
