#include "Outbox.h"

#include "Sockets.h"

bool Outbox::send(int fd, const std::string& bytes)
{
    if (!m_pending.empty()) {
        if (m_pending.size() + bytes.size() > kLimit)
            return false;
        m_pending += bytes;
        return true;
    }
    const long sent = sockets::sendSome(fd, bytes.data(), bytes.size());
    if (sent < 0)
        return false;
    if (size_t(sent) < bytes.size()) {
        if (bytes.size() - size_t(sent) > kLimit)
            return false;
        m_pending.assign(bytes, size_t(sent), std::string::npos);
    }
    return true;
}

bool Outbox::flush(int fd)
{
    if (m_pending.empty())
        return true;
    const long sent = sockets::sendSome(fd, m_pending.data(), m_pending.size());
    if (sent < 0)
        return false;
    m_pending.erase(0, size_t(sent));
    return true;
}
