#include "Sockets.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

void FileDescriptor::reset(int fd)
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

namespace sockets {

namespace {

std::string errnoText(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

bool fillUnixAddress(const std::string& path, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    return true;
}

// True when something accepts connections on the Unix socket at path.
bool unixSocketAnswers(const sockaddr_un& address)
{
    FileDescriptor probe(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!probe.valid())
        return false;
    return ::connect(probe.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

} // namespace

bool setNonBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

FileDescriptor listenTcp(uint16_t port, std::string& error)
{
    FileDescriptor fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd.valid()) {
        error = errnoText("socket");
        return {};
    }
    // A restarted exchange (or one that ends a "refuse" period) must get its
    // port back although connections of the previous run are in TIME_WAIT.
    const int one = 1;
    ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        error = errnoText("cannot bind 127.0.0.1:" + std::to_string(port));
        return {};
    }
    if (::listen(fd.get(), 64) != 0) {
        error = errnoText("listen");
        return {};
    }
    return fd;
}

uint16_t localPort(int fd)
{
    sockaddr_in address{};
    socklen_t size = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return 0;
    return ntohs(address.sin_port);
}

FileDescriptor listenUnix(const std::string& path, std::string& error)
{
    sockaddr_un address;
    if (!fillUnixAddress(path, address)) {
        error = "control socket path is empty or longer than " +
                std::to_string(sizeof address.sun_path - 1) + " bytes: " + path;
        return {};
    }
    struct stat info;
    if (::lstat(path.c_str(), &info) == 0) {
        if (!S_ISSOCK(info.st_mode)) {
            error = "control socket path exists and is not a socket: " + path;
            return {};
        }
        if (unixSocketAnswers(address)) {
            error = "another exchange already answers on " + path;
            return {};
        }
        ::unlink(path.c_str());
    }
    FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd.valid()) {
        error = errnoText("socket");
        return {};
    }
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        error = errnoText("cannot bind " + path);
        return {};
    }
    if (::listen(fd.get(), 16) != 0) {
        error = errnoText("listen");
        return {};
    }
    return fd;
}

FileDescriptor acceptConnection(int listenFd)
{
    for (;;) {
        const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd >= 0 || errno != EINTR)
            return FileDescriptor(fd);
    }
}

long sendSome(int fd, const char* data, size_t size)
{
    for (;;) {
        const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent >= 0)
            return long(sent);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        return -1;
    }
}

} // namespace sockets
