#pragma once

#include <functional>
#include <poll.h>
#include <vector>

// The descriptors of one round of the exchange's poll() loop, each with the
// handler to run when it is ready. The set is built afresh every round, so
// a handler may close connections whose entries come later in the same
// round: handlers must look their connection up again and skip it when it
// is gone.
class PollSet
{
public:
    using Handler = std::function<void(short revents)>;

    void add(int fd, short events, Handler handler);
    // poll() with a timeout in milliseconds (-1: none); false on failure
    // other than an interruption by a signal.
    bool wait(int timeoutMs);
    // Runs the handler of every ready descriptor.
    void dispatch();

private:
    std::vector<pollfd> m_fds;
    std::vector<Handler> m_handlers;
};
