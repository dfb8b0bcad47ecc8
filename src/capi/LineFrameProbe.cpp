#include "capi/LineFrameProbe.h"

#include <cerrno>
#include <poll.h>
#include <sys/socket.h>

namespace {

// True when the other side has shut down its end or the connection failed:
// a partial frame will then never be completed.
bool peerGone(int fd)
{
    pollfd p{fd, POLLIN | POLLRDHUP, 0};
    if (poll(&p, 1, 0) < 0)
        return false;
    return (p.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)) != 0;
}

} // namespace

LineFrame LineFrameProbe::probe(int fd)
{
    LineFrame frame;
    std::uint8_t buffer[kHeader + kMaxFrame];
    const ssize_t n = recv(fd, buffer, sizeof buffer, MSG_PEEK | MSG_DONTWAIT);
    if (n < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
            frame.state = LineFrame::State::Empty;
        else if (errno == ENOTSOCK)
            frame.state = LineFrame::State::NotSocket;
        else
            frame.state = LineFrame::State::Closed;
        return frame;
    }
    if (n == 0) {
        frame.state = LineFrame::State::Closed;
        return frame;
    }
    const std::size_t buffered = std::size_t(n);
    // The stream has lost its frame boundaries (or was never CAPI): nothing
    // after this can be read as a message.
    if (buffer[0] != kFrameStart) {
        frame.state = LineFrame::State::Malformed;
        return frame;
    }
    if (buffered < kHeader) {
        frame.state = peerGone(fd) ? LineFrame::State::Closed : LineFrame::State::Partial;
        return frame;
    }
    frame.length = std::size_t(buffer[1] | (buffer[2] << 8));
    if (frame.length > kMaxFrame) {
        frame.state = LineFrame::State::Oversized;
        return frame;
    }
    if (buffered < kHeader + frame.length) {
        frame.state = peerGone(fd) ? LineFrame::State::Closed : LineFrame::State::Partial;
        return frame;
    }
    if (frame.length >= 6) {
        frame.command = buffer[kHeader + 4];
        frame.subcommand = buffer[kHeader + 5];
    }
    frame.state = LineFrame::State::Whole;
    return frame;
}

bool LineFrameProbe::discard(int fd, std::size_t length)
{
    std::uint8_t buffer[kHeader + kMaxFrame];
    const std::size_t total = kHeader + length;
    if (total > sizeof buffer)
        return false;
    return recv(fd, buffer, total, MSG_DONTWAIT) == ssize_t(total);
}
