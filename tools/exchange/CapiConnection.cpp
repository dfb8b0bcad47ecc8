#include "CapiConnection.h"

#include <cerrno>
#include <sys/socket.h>

namespace {

constexpr unsigned char kFrameStart = 0x80;
constexpr size_t kFrameHeader = 3;
// A CAPI message starts with an 8-byte header: no frame can be shorter.
constexpr size_t kMinMessage = 8;

} // namespace

CapiConnection::CapiConnection(unsigned number, FileDescriptor fd, bool silent)
    : m_number(number), m_fd(std::move(fd)), m_silent(silent)
{}

bool CapiConnection::receive()
{
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::recv(fd(), chunk, sizeof chunk, MSG_DONTWAIT);
        if (n > 0) {
            m_input.append(chunk, size_t(n));
            return true;
        }
        if (n == 0)
            return false;
        if (errno == EINTR)
            continue;
        return errno == EAGAIN || errno == EWOULDBLOCK;
    }
}

CapiConnection::Frame CapiConnection::next(std::string& message, std::string& reason)
{
    if (m_input.empty())
        return Frame::None;
    if (static_cast<unsigned char>(m_input[0]) != kFrameStart) {
        reason = "frame-start";
        message = m_input;
        m_input.clear();
        return Frame::Garbage;
    }
    if (m_input.size() < kFrameHeader)
        return Frame::None;
    const size_t length = size_t(static_cast<unsigned char>(m_input[1])) |
                          size_t(static_cast<unsigned char>(m_input[2])) << 8;
    if (length < kMinMessage) {
        reason = "frame-length";
        message = m_input;
        m_input.clear();
        return Frame::Garbage;
    }
    if (m_input.size() < kFrameHeader + length)
        return Frame::None;
    message = m_input.substr(kFrameHeader, length);
    m_input.erase(0, kFrameHeader + length);
    return Frame::Message;
}

void CapiConnection::setListen(uint8_t controller, uint32_t cipMask)
{
    if (cipMask == 0)
        m_listen.erase(controller);
    else
        m_listen[controller] = cipMask;
}

uint32_t CapiConnection::listenMask(uint8_t controller) const
{
    const auto it = m_listen.find(controller);
    return it == m_listen.end() ? 0 : it->second;
}
