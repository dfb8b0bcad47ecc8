#include "ControlClient.h"

#include "FileDescriptor.h"
#include "Sockets.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>

namespace {

// The exchange answers between two events of its loop; a reply that takes
// longer means it hangs.
constexpr int kReplyTimeoutMs = 10000;

bool sendAll(int fd, const std::string& bytes, std::string& error)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = std::string("sending the command failed: ") + std::strerror(errno);
            return false;
        }
        done += size_t(n);
    }
    return true;
}

} // namespace

bool ControlClient::send(const ControlRequest& request, std::string& reply,
                         std::string& error) const
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (m_path.empty() || m_path.size() >= sizeof address.sun_path) {
        error = "control socket path is empty or too long: " + m_path;
        return false;
    }
    std::memcpy(address.sun_path, m_path.data(), m_path.size());
    FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.valid() ||
        ::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        error = "no exchange answers on " + m_path + " (" + std::strerror(errno) + ")";
        return false;
    }
    if (!sendAll(fd.get(), request.format() + "\n", error))
        return false;

    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kReplyTimeoutMs);
    std::string received;
    for (;;) {
        const size_t newline = received.find('\n');
        if (newline != std::string::npos) {
            reply = received.substr(0, newline);
            return true;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd entry{fd.get(), POLLIN, 0};
        const int ready = left > 0 ? ::poll(&entry, 1, int(left)) : 0;
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            error = "the exchange on " + m_path + " did not reply";
            return false;
        }
        char chunk[4096];
        const ssize_t n = ::recv(fd.get(), chunk, sizeof chunk, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (!received.empty()) {
                reply = received;
                return true;
            }
            error = "the exchange on " + m_path + " closed without a reply";
            return false;
        }
        received.append(chunk, size_t(n));
    }
}
