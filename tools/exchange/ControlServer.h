#pragma once

#include "FileDescriptor.h"
#include "Outbox.h"

#include <chrono>
#include <functional>
#include <map>
#include <string>

class PollSet;

// The control channel: a Unix domain socket on which each connection
// carries one command line in and one reply line out, then closes.
class ControlServer
{
public:
    // Runs one command line (without its newline); returns the reply line.
    using Handler = std::function<std::string(const std::string& line)>;
    using Clock = std::chrono::steady_clock;

    explicit ControlServer(Handler handler);
    ~ControlServer();

    bool listen(const std::string& path, std::string& error);
    // Stops listening and removes the socket file.
    void close();
    const std::string& path() const { return m_path; }

    void addToPoll(PollSet& set);
    // Closes connections that sent no whole line in time.
    void expireIdle(Clock::time_point now);
    // The earliest moment expireIdle() has something to do.
    Clock::time_point nextDeadline() const;
    // True while replies still wait to be sent.
    bool hasPendingReplies() const;

private:
    struct Client
    {
        FileDescriptor fd;
        std::string input;
        Outbox outbox;
        bool replied = false;
        Clock::time_point deadline;
    };

    void acceptClients();
    void onClient(unsigned id, short revents);
    void reply(Client& client, const std::string& line);

    Handler m_handler;
    FileDescriptor m_listener;
    std::string m_path;
    unsigned m_nextId = 1;
    std::map<unsigned, Client> m_clients;
};
