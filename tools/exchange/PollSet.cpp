#include "PollSet.h"

#include <cerrno>

void PollSet::add(int fd, short events, Handler handler)
{
    m_fds.push_back(pollfd{fd, events, 0});
    m_handlers.push_back(std::move(handler));
}

bool PollSet::wait(int timeoutMs)
{
    const int ready = ::poll(m_fds.data(), nfds_t(m_fds.size()), timeoutMs);
    if (ready < 0) {
        for (pollfd& entry : m_fds)
            entry.revents = 0;
        return errno == EINTR;
    }
    return true;
}

void PollSet::dispatch()
{
    for (size_t i = 0; i < m_fds.size(); ++i) {
        if (m_fds[i].revents != 0)
            m_handlers[i](m_fds[i].revents);
    }
}
