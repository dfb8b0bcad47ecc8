#include "CapiClient.h"

#include <QDeadlineTimer>
#include <capi20.h>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

CapiClient::~CapiClient()
{
    if (m_applId != 0)
        release();
}

unsigned CapiClient::isInstalled()
{
    return capi20_isinstalled();
}

unsigned CapiClient::registerAppl()
{
    unsigned id = 0;
    const unsigned result = capi20_register(2, 7, 2048, &id);
    if (result == 0)
        m_applId = id;
    return result;
}

unsigned CapiClient::profile(uint16_t& controllers)
{
    unsigned char buffer[64];
    std::memset(buffer, 0xee, sizeof buffer);
    const unsigned result = capi20_get_profile(0, buffer);
    controllers = uint16_t(buffer[0] | buffer[1] << 8);
    return result;
}

unsigned CapiClient::listen(uint32_t controller, uint32_t cipMask)
{
    _cmsg message;
    std::memset(&message, 0, sizeof message);
    capi_cmsg_header(&message, _cword(m_applId), 0x05, 0x80, 0, controller);
    message.CIPmask = cipMask;
    return capi_put_cmsg(&message);
}

unsigned CapiClient::putConnectResp(uint16_t msgnum, uint32_t plci, uint16_t reject)
{
    _cmsg message;
    std::memset(&message, 0, sizeof message);
    capi_fill_CONNECT_RESP(&message, _cword(m_applId), msgnum, plci, reject, 0, 0, 0, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr);
    unsigned char bytes[256];
    capi_cmsg2message(&message, bytes);
    return capi20_put_message(m_applId, bytes);
}

unsigned CapiClient::release()
{
    const unsigned result = capi20_release(m_applId);
    m_applId = 0;
    return result;
}

std::string CapiClient::peek()
{
    char buffer[8192];
    const ssize_t n =
        ::recv(capi20_fileno(m_applId), buffer, sizeof buffer, MSG_PEEK | MSG_DONTWAIT);
    return n > 0 ? std::string(buffer, size_t(n)) : std::string();
}

std::optional<std::string> CapiClient::nextMessage(int timeoutMs)
{
    const int fd = capi20_fileno(m_applId);
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, int(deadline.remainingTime())) <= 0)
            return std::nullopt;
        char header[3];
        const ssize_t n = ::recv(fd, header, sizeof header, MSG_PEEK | MSG_DONTWAIT);
        if (n == 0)
            return std::nullopt; // closed
        if (n == 3) {
            const size_t length = size_t(uint8_t(header[1])) | size_t(uint8_t(header[2])) << 8;
            if (length > 4096 - 3)
                return std::nullopt; // the library would overflow its buffer
            if (peek().size() >= 3 + length)
                break;
        }
        if (deadline.hasExpired())
            return std::nullopt;
        ::usleep(2000); // half a frame: the rest is on its way
    }
    unsigned char* message = nullptr;
    if (capi20_get_message(m_applId, &message) != 0 || !message)
        return std::nullopt;
    const size_t length = size_t(message[0] | message[1] << 8);
    return std::string(reinterpret_cast<const char*>(message), length);
}

bool CapiClient::waitForClose(int timeoutMs)
{
    const int fd = capi20_fileno(m_applId);
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        pollfd entry{fd, POLLIN | POLLRDHUP, 0};
        if (::poll(&entry, 1, int(deadline.remainingTime())) > 0 &&
            (entry.revents & (POLLRDHUP | POLLHUP | POLLERR)))
            return true;
        if (entry.revents & POLLIN)
            return false; // data, not an end
    }
    return false;
}
