#include "TcpClient.h"

#include <QDeadlineTimer>
#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

TcpClient::~TcpClient()
{
    close();
}

bool TcpClient::connectTo(uint16_t port)
{
    close();
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close();
        return false;
    }
    return true;
}

bool TcpClient::send(const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(m_fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

std::string TcpClient::read(size_t count, int timeoutMs)
{
    std::string out;
    QDeadlineTimer deadline(timeoutMs);
    while (out.size() < count) {
        pollfd entry{m_fd, POLLIN, 0};
        if (::poll(&entry, 1, int(deadline.remainingTime())) <= 0)
            break;
        char chunk[8192];
        const ssize_t n = ::recv(m_fd, chunk, std::min(sizeof chunk, count - out.size()), 0);
        if (n <= 0)
            break;
        out.append(chunk, size_t(n));
    }
    return out;
}

std::string TcpClient::readAvailable()
{
    std::string out;
    char chunk[8192];
    ssize_t n;
    while ((n = ::recv(m_fd, chunk, sizeof chunk, MSG_DONTWAIT)) > 0)
        out.append(chunk, size_t(n));
    return out;
}

bool TcpClient::waitForClose(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        pollfd entry{m_fd, POLLIN, 0};
        if (::poll(&entry, 1, int(deadline.remainingTime())) <= 0)
            return false;
        char chunk[4096];
        const ssize_t n = ::recv(m_fd, chunk, sizeof chunk, 0);
        if (n == 0 || (n < 0 && errno == ECONNRESET))
            return true;
    }
    return false;
}

void TcpClient::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

std::string TcpClient::registerFrame()
{
    const unsigned char bytes[] = {0x80, 0x14, 0x00, 0x14, 0x00, 0x00, 0x00, 0x20,
                                   0x80, 0x01, 0x00, 0x02, 0x00, 0x09, 0x00, 0x00,
                                   0x06, 0x02, 0x00, 0x07, 0x00, 0x00, 0x08};
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

uint16_t TcpClient::applIdOfReply(const std::string& reply)
{
    if (reply.size() < 2 + 18)
        return 0;
    return uint16_t(uint8_t(reply[4]) | uint8_t(reply[5]) << 8);
}
