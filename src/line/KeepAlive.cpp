#include "line/KeepAlive.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

bool keepConnectionAlive(int fd, const LineTiming& t)
{
    const int on = 1;
    if (fd < 0 || setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on) != 0)
        return false;
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &t.keepAliveIdleSeconds,
               sizeof t.keepAliveIdleSeconds);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &t.keepAliveIntervalSeconds,
               sizeof t.keepAliveIntervalSeconds);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &t.keepAliveCount, sizeof t.keepAliveCount);
    const unsigned userTimeoutMs =
        unsigned((t.keepAliveIdleSeconds + t.keepAliveIntervalSeconds * t.keepAliveCount) * 1000);
    setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &userTimeoutMs, sizeof userTimeoutMs);
    return true;
}
