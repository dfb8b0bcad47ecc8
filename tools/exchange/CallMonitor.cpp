#include "CallMonitor.h"

#include "EventLog.h"
#include "PollSet.h"
#include "Sockets.h"

#include <cerrno>
#include <sys/socket.h>
#include <vector>

CallMonitor::CallMonitor(EventLog& log, NumberSource nextConnection)
    : m_log(log), m_nextConnection(std::move(nextConnection))
{}

bool CallMonitor::listen(uint16_t port, std::string& error)
{
    FileDescriptor fd = sockets::listenTcp(port, error);
    if (!fd.valid())
        return false;
    m_port = sockets::localPort(fd.get());
    m_listener = std::move(fd);
    return true;
}

void CallMonitor::addToPoll(PollSet& set)
{
    if (m_listener.valid())
        set.add(m_listener.get(), POLLIN, [this](short) { acceptClients(); });
    for (auto& [number, client] : m_clients) {
        const unsigned id = number;
        const short events = short(POLLIN | (client.outbox.empty() ? 0 : POLLOUT));
        set.add(client.fd.get(), events, [this, id](short revents) { onClient(id, revents); });
    }
}

void CallMonitor::acceptClients()
{
    for (;;) {
        FileDescriptor fd = sockets::acceptConnection(m_listener.get());
        if (!fd.valid())
            return;
        const unsigned number = m_nextConnection();
        m_log.write(number, "CM_OPEN");
        m_clients[number].fd = std::move(fd);
    }
}

void CallMonitor::onClient(unsigned number, short revents)
{
    const auto it = m_clients.find(number);
    if (it == m_clients.end())
        return;
    Client& client = it->second;
    if (revents & POLLOUT) {
        if (!client.outbox.flush(client.fd.get())) {
            close(number, "error");
            return;
        }
    }
    if (revents & (POLLIN | POLLHUP | POLLERR)) {
        // What a client sends means nothing to a call monitor: read it away.
        char chunk[4096];
        const ssize_t n = ::recv(client.fd.get(), chunk, sizeof chunk, MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
            close(number, n == 0 ? "peer" : "error");
    }
}

void CallMonitor::close(unsigned number, const char* reason)
{
    LogFields fields;
    fields.text("reason", reason);
    m_log.write(number, "CM_CLOSE", fields);
    m_clients.erase(number);
}

unsigned CallMonitor::broadcast(const std::string& text)
{
    unsigned reached = 0;
    std::vector<unsigned> broken;
    for (auto& [number, client] : m_clients) {
        if (client.muted)
            continue;
        LogFields fields;
        fields.bytes(text);
        m_log.write(number, "CM_SENT", fields);
        if (client.outbox.send(client.fd.get(), text))
            ++reached;
        else
            broken.push_back(number);
    }
    for (unsigned number : broken)
        close(number, "error");
    return reached;
}

unsigned CallMonitor::dropAll(const char* reason)
{
    unsigned dropped = 0;
    while (!m_clients.empty()) {
        close(m_clients.begin()->first, reason);
        ++dropped;
    }
    return dropped;
}

unsigned CallMonitor::setMuted(bool muted)
{
    unsigned changed = 0;
    for (auto& entry : m_clients) {
        if (entry.second.muted != muted) {
            entry.second.muted = muted;
            ++changed;
        }
    }
    return changed;
}

unsigned CallMonitor::mutedCount() const
{
    unsigned count = 0;
    for (const auto& entry : m_clients)
        count += entry.second.muted ? 1 : 0;
    return count;
}
