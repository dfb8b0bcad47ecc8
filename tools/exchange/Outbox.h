#pragma once

#include <cstddef>
#include <string>

// What a connection still has to send. A frame goes out with a single send()
// when nothing is waiting before it (libcapi20 reads the replies to REGISTER
// and GET_PROFILE with one recv); whatever the socket does not take at once
// waits here until the socket is writable again.
class Outbox
{
public:
    // A peer that reads nothing must not make the exchange grow without
    // bound: past this many waiting bytes the connection counts as broken.
    static constexpr size_t kLimit = 4 * 1024 * 1024;

    // Sends or queues bytes. False when the connection is broken.
    bool send(int fd, const std::string& bytes);
    // Sends what waits; call when the socket is writable. False when broken.
    bool flush(int fd);
    bool empty() const { return m_pending.empty(); }
    size_t pending() const { return m_pending.size(); }

private:
    std::string m_pending;
};
