#pragma once

#include "FileDescriptor.h"

#include <cstdint>
#include <string>

// Thin helpers over the POSIX socket calls the exchange needs. Every socket
// is non-blocking and close-on-exec; failures come back as a text for the
// log or the user.
namespace sockets {

// Listens on 127.0.0.1:port (0 picks a free port). Returns an invalid
// descriptor and sets error on failure.
FileDescriptor listenTcp(uint16_t port, std::string& error);
// The port a listening socket is bound to, 0 on failure.
uint16_t localPort(int fd);
// Listens on a Unix domain socket at path. A socket file left behind by an
// exchange that is gone is replaced; one that still answers is not.
FileDescriptor listenUnix(const std::string& path, std::string& error);
// Accepts one pending connection (non-blocking); invalid when none.
FileDescriptor acceptConnection(int listenFd);
// Sends what it can without blocking and without SIGPIPE. Returns the
// number of bytes sent, 0 when the socket would block, -1 on error.
long sendSome(int fd, const char* data, size_t size);
bool setNonBlocking(int fd);

} // namespace sockets
