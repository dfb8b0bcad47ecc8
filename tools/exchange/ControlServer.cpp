#include "ControlServer.h"

#include "PollSet.h"
#include "Sockets.h"

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A command line longer than this is no command: raw-bytes of a few
// hundred kilobytes still fit.
constexpr size_t kMaxLine = 4 * 1024 * 1024;
constexpr std::chrono::seconds kIdleTimeout{30};

} // namespace

ControlServer::ControlServer(Handler handler) : m_handler(std::move(handler)) {}

ControlServer::~ControlServer()
{
    close();
}

bool ControlServer::listen(const std::string& path, std::string& error)
{
    m_listener = sockets::listenUnix(path, error);
    if (!m_listener.valid())
        return false;
    m_path = path;
    return true;
}

void ControlServer::close()
{
    if (m_listener.valid()) {
        m_listener.reset();
        ::unlink(m_path.c_str());
    }
    m_clients.clear();
}

void ControlServer::addToPoll(PollSet& set)
{
    if (m_listener.valid())
        set.add(m_listener.get(), POLLIN, [this](short) { acceptClients(); });
    for (auto& [id, client] : m_clients) {
        const unsigned key = id;
        const short events =
            short((client.replied ? 0 : POLLIN) | (client.outbox.empty() ? 0 : POLLOUT));
        set.add(client.fd.get(), events, [this, key](short revents) { onClient(key, revents); });
    }
}

void ControlServer::acceptClients()
{
    for (;;) {
        FileDescriptor fd = sockets::acceptConnection(m_listener.get());
        if (!fd.valid())
            return;
        Client& client = m_clients[m_nextId++];
        client.fd = std::move(fd);
        client.deadline = Clock::now() + kIdleTimeout;
    }
}

void ControlServer::onClient(unsigned id, short revents)
{
    const auto it = m_clients.find(id);
    if (it == m_clients.end())
        return;
    Client& client = it->second;
    if (!client.replied && (revents & (POLLIN | POLLHUP | POLLERR))) {
        char chunk[65536];
        const ssize_t n = ::recv(client.fd.get(), chunk, sizeof chunk, MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
            return;
        if (n < 0) {
            m_clients.erase(it);
            return;
        }
        if (n > 0)
            client.input.append(chunk, size_t(n));
        const size_t newline = client.input.find('\n');
        if (newline != std::string::npos) {
            reply(client, m_handler(client.input.substr(0, newline)));
        } else if (n == 0) {
            // The client ended its side without a newline: take what came.
            if (client.input.empty()) {
                m_clients.erase(it);
                return;
            }
            reply(client, m_handler(client.input));
        } else if (client.input.size() > kMaxLine) {
            reply(client, "error command line too long");
        }
    } else if (revents & POLLOUT) {
        if (!client.outbox.flush(client.fd.get())) {
            m_clients.erase(it);
            return;
        }
    } else if (revents & (POLLHUP | POLLERR)) {
        m_clients.erase(it);
        return;
    }
    if (client.replied && client.outbox.empty())
        m_clients.erase(id);
}

void ControlServer::reply(Client& client, const std::string& line)
{
    client.replied = true;
    client.input.clear();
    if (!client.outbox.send(client.fd.get(), line + "\n"))
        client.outbox = Outbox(); // the client is gone; nothing left to send
}

void ControlServer::expireIdle(Clock::time_point now)
{
    for (auto it = m_clients.begin(); it != m_clients.end();) {
        if (now >= it->second.deadline)
            it = m_clients.erase(it);
        else
            ++it;
    }
}

ControlServer::Clock::time_point ControlServer::nextDeadline() const
{
    Clock::time_point earliest = Clock::time_point::max();
    for (const auto& entry : m_clients)
        earliest = std::min(earliest, entry.second.deadline);
    return earliest;
}

bool ControlServer::hasPendingReplies() const
{
    for (const auto& entry : m_clients) {
        if (!entry.second.outbox.empty())
            return true;
    }
    return false;
}
