#include "Exchange.h"

#include "ApplIdAllocator.h"
#include "AtomicFile.h"
#include "CapiDecoder.h"
#include "PollSet.h"
#include "Sockets.h"
#include "TextCodec.h"

#include <algorithm>
#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <unistd.h>
#include <vector>

namespace {

// When the port of a "refuse" period cannot be had back at once, try again
// this often.
constexpr std::chrono::milliseconds kRelistenRetry{200};

std::string peerText(int fd)
{
    sockaddr_in address{};
    socklen_t size = sizeof address;
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return "unknown";
    char host[INET_ADDRSTRLEN] = "?";
    ::inet_ntop(AF_INET, &address.sin_addr, host, sizeof host);
    return std::string(host) + ":" + std::to_string(ntohs(address.sin_port));
}

} // namespace

Exchange::Exchange(const ServeOptions& options, EventLog& log, ApplIdAllocator& ids)
    : m_options(options), m_log(log), m_ids(ids), m_handler(m_log, m_ids, m_options),
      m_control([this](const std::string& line) { return onControlLine(line); }),
      m_callMonitor(m_log, [this] { return m_nextConnection++; })
{}

bool Exchange::start(std::string& error)
{
    if (!m_signals.install({SIGTERM, SIGINT}, &error))
        return false;
    // A client that went away must not end the exchange.
    ::signal(SIGPIPE, SIG_IGN);
    m_capiListener = sockets::listenTcp(m_options.port, error);
    if (!m_capiListener.valid())
        return false;
    m_port = sockets::localPort(m_capiListener.get());
    if (m_options.callMonitorPort && !m_callMonitor.listen(*m_options.callMonitorPort, error))
        return false;
    const std::string controlPath =
        m_options.controlPath.empty() ? defaultControlPath(m_port) : m_options.controlPath;
    if (!m_control.listen(controlPath, error))
        return false;
    if (m_options.callMonitorPort && !m_options.callMonitorPortFile.empty() &&
        !writeFileAtomically(m_options.callMonitorPortFile,
                             std::to_string(m_callMonitor.port()) + "\n", error))
        return false;
    if (!m_options.portFile.empty() &&
        !writeFileAtomically(m_options.portFile, std::to_string(m_port) + "\n", error))
        return false;

    LogFields fields;
    fields.text("cmd", "serve").number("port", m_port);
    if (m_options.callMonitorPort)
        fields.number("callmonitor", m_callMonitor.port());
    fields.text("control", codec::escapeToken(controlPath))
        .text("ids", m_ids.describe())
        .number("controllers", m_options.controllers)
        .hex16("info", m_options.listenInfo);
    m_log.write(0, "CONTROL", fields);
    return true;
}

void Exchange::run()
{
    while (!m_stopping || (m_control.hasPendingReplies() && Clock::now() < m_stopDeadline))
        pollOnce();
    shutDown(m_stopReason);
}

void Exchange::pollOnce()
{
    PollSet set;
    set.add(m_signals.fd(), POLLIN, [this](short) {
        const int signal = m_signals.take();
        if (signal != 0 && !m_stopping) {
            m_stopping = true;
            m_stopDeadline = Clock::now();
            m_stopReason = signal == SIGINT ? "SIGINT" : "SIGTERM";
        }
    });
    if (m_options.exitWithStdin && !m_stopping) {
        set.add(STDIN_FILENO, POLLIN, [this](short) {
            char buffer[256];
            if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
                m_stopping = true;
                m_stopDeadline = Clock::now();
                m_stopReason = "stdin-closed";
            }
        });
    }
    m_control.addToPoll(set);
    if (!m_stopping) {
        if (m_capiListener.valid())
            set.add(m_capiListener.get(), POLLIN, [this](short) { acceptCapi(); });
        for (auto& [number, conn] : m_capi) {
            const unsigned key = number;
            const short events = short(POLLIN | (conn.hasOutput() ? POLLOUT : 0));
            set.add(conn.fd(), events, [this, key](short revents) { onCapi(key, revents); });
        }
        m_callMonitor.addToPoll(set);
    }
    if (!set.wait(timeoutUntilNextDeadline())) {
        m_stopping = true;
        m_stopReason = "poll-failed";
        return;
    }
    set.dispatch();
    const Clock::time_point now = Clock::now();
    m_control.expireIdle(now);
    if (m_listenAgainAt && now >= *m_listenAgainAt && !m_stopping)
        reopenAfterRefusal();
}

int Exchange::timeoutUntilNextDeadline() const
{
    Clock::time_point next = m_control.nextDeadline();
    if (m_listenAgainAt)
        next = std::min(next, *m_listenAgainAt);
    if (m_stopping)
        next = std::min(next, m_stopDeadline);
    if (next == Clock::time_point::max())
        return -1;
    const auto wait =
        std::chrono::duration_cast<std::chrono::milliseconds>(next - Clock::now()).count();
    // Round up so that the loop does not spin in the last millisecond.
    return int(std::clamp<long long>(wait + 1, 0, 60 * 60 * 1000));
}

void Exchange::acceptCapi()
{
    for (;;) {
        FileDescriptor fd = sockets::acceptConnection(m_capiListener.get());
        if (!fd.valid())
            return;
        const unsigned number = m_nextConnection++;
        LogFields fields;
        fields.text("peer", peerText(fd.get()));
        if (m_silent)
            fields.text("ignored", "silent");
        m_log.write(number, "OPEN", fields);
        m_capi.emplace(std::piecewise_construct, std::forward_as_tuple(number),
                       std::forward_as_tuple(number, std::move(fd), m_silent));
    }
}

void Exchange::onCapi(unsigned number, short revents)
{
    const auto it = m_capi.find(number);
    if (it == m_capi.end())
        return;
    CapiConnection& conn = it->second;
    if ((revents & POLLOUT) && !conn.flush()) {
        closeCapi(number, "error");
        return;
    }
    if (!(revents & (POLLIN | POLLHUP | POLLERR)))
        return;
    if (!conn.receive()) {
        closeCapi(number, "peer");
        return;
    }
    std::string message;
    std::string reason;
    for (;;) {
        const CapiConnection::Frame frame = conn.next(message, reason);
        if (frame == CapiConnection::Frame::None)
            return;
        if (frame == CapiConnection::Frame::Garbage) {
            LogFields fields;
            fields.text("reason", reason).bytes(message);
            m_log.write(number, "BAD", fields);
            closeCapi(number, "bad");
            return;
        }
        const capi::MessageKind kind = capi::decode(message).kind;
        if (!m_handler.handle(conn, message, [this](uint16_t id) { return idInUse(id); })) {
            closeCapi(number, "error");
            return;
        }
        // The instant a registration is let go (whoever still listens gets
        // the call), or a new one listens (and the old one may still).
        ringArmedFor(kind);
    }
}

void Exchange::ringArmedFor(capi::MessageKind kind)
{
    if (m_armedRings.empty() || m_armedRings.front().trigger != kind)
        return;
    const ControlRequest request = std::move(m_armedRings.front().request);
    m_armedRings.pop_front();
    const std::string reply = ring(request);
    LogFields fields;
    fields.text("result", codec::escapeToken(reply));
    m_log.write(0, kind == capi::MessageKind::Release ? "RING_ON_RELEASE" : "RING_ON_LISTEN",
                fields);
}

void Exchange::closeCapi(unsigned number, const char* reason)
{
    const auto it = m_capi.find(number);
    if (it == m_capi.end())
        return;
    LogFields fields;
    if (it->second.registered())
        fields.number("appl", it->second.applId());
    fields.text("reason", reason);
    if (it->second.buffered() != 0)
        fields.number("pending", it->second.buffered());
    m_log.write(number, "CLOSE", fields);
    m_capi.erase(it);
}

bool Exchange::idInUse(uint16_t applId) const
{
    return std::any_of(m_capi.begin(), m_capi.end(),
                       [applId](const auto& entry) { return entry.second.applId() == applId; });
}

void Exchange::reopenAfterRefusal()
{
    std::string error;
    bool ok = true;
    if (!m_capiListener.valid()) {
        m_capiListener = sockets::listenTcp(m_port, error);
        ok = m_capiListener.valid();
    }
    if (ok && m_options.callMonitorPort && !m_callMonitor.listening())
        ok = m_callMonitor.reopen(error);
    LogFields fields;
    fields.text("cmd", "listen").number("port", m_port);
    if (m_options.callMonitorPort)
        fields.number("callmonitor", m_callMonitor.port());
    if (ok) {
        fields.text("result", "ok");
        m_listenAgainAt.reset();
    } else {
        fields.text("result", "error").text("reason", codec::escapeToken(error));
        m_listenAgainAt = Clock::now() + kRelistenRetry;
    }
    m_log.write(0, "CONTROL", fields);
}

void Exchange::shutDown(const std::string& reason)
{
    while (!m_capi.empty())
        closeCapi(m_capi.begin()->first, "quit");
    m_callMonitor.dropAll("quit");
    m_callMonitor.closeListener();
    m_capiListener.reset();
    m_control.close();
    LogFields fields;
    fields.text("cmd", "stop").text("reason", reason);
    m_log.write(0, "CONTROL", fields);
}
