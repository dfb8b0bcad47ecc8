#include "capi/Libcapi20Api.h"

#include "capi/CallDeadline.h"
#include "capi/LineFrameProbe.h"
#include "line/KeepAlive.h"

#include <algorithm>
#include <capi20.h>
#include <csignal>
#include <cstring>
#include <sys/time.h>

namespace {

constexpr std::uint8_t kDataB3 = 0x86;
constexpr std::uint8_t kInd = 0x82;
constexpr std::size_t kMessageHeader = 8;

} // namespace

Libcapi20Api::Libcapi20Api(const LineTiming& timing)
    : m_timing(timing), m_callLimit(timing.callLimitMs), m_frameLimit(timing.frameLimitMs)
{
    ignoreSigpipe();
}

void Libcapi20Api::ignoreSigpipe()
{
    std::signal(SIGPIPE, SIG_IGN);
}

unsigned Libcapi20Api::installed()
{
    CallDeadline deadline(m_callLimit);
    return capi20_isinstalled();
}

unsigned Libcapi20Api::registerApplication(unsigned /*messageBufferSize*/,
                                           unsigned maxLogicalConnections, unsigned maxBDataBlocks,
                                           unsigned maxBDataLength, unsigned* applId)
{
    // libcapi20 sizes its receive buffers itself: 128 bytes more than the
    // longest B3 data block, at least 2048. The message buffer size of
    // CAPI 2.0 has no place in its capi20_register.
    m_receiveBufferSize = std::max<std::size_t>(2048, 128 + std::size_t(maxBDataLength));
    CallDeadline deadline(m_callLimit);
    return capi20_register(maxLogicalConnections, maxBDataBlocks, maxBDataLength, applId);
}

unsigned Libcapi20Api::release(unsigned applId)
{
    forgetPartialFrame(applId);
    CallDeadline deadline(m_callLimit);
    return capi20_release(applId);
}

unsigned Libcapi20Api::putMessage(unsigned applId, const std::uint8_t* message)
{
    if (message == nullptr)
        return kCapiIllegalMessage;
    const std::size_t length = std::size_t(message[0] | (message[1] << 8));
    // The fritzbox module copies SEND_BUFSIZ - 3 bytes of every message,
    // whatever its length: give it a whole zeroed buffer to copy from.
    unsigned char buffer[SEND_BUFSIZ]{};
    if (length < kMessageHeader || length > sizeof buffer - 3)
        return kCapiIllegalMessage;
    std::memcpy(buffer, message, length);
    CallDeadline deadline(m_callLimit);
    return capi20_put_message(applId, buffer);
}

unsigned Libcapi20Api::getMessage(unsigned applId, const std::uint8_t** message, std::size_t* size)
{
    *message = nullptr;
    *size = 0;
    const int fd = capi20_fileno(applId);
    if (fd < 0)
        return kCapiIllegalApplId;

    const LineFrame frame = LineFrameProbe::probe(fd);
    if (frame.state != LineFrame::State::Partial)
        forgetPartialFrame(applId);
    switch (frame.state) {
    case LineFrame::State::Empty:
        return kCapiQueueEmpty;
    case LineFrame::State::Partial:
        return partialFrameTooOld(applId) ? kCapiLineLost : kCapiQueueEmpty;
    case LineFrame::State::Oversized:
    case LineFrame::State::Malformed:
    case LineFrame::State::Closed:
        return kCapiLineLost;
    case LineFrame::State::NotSocket:
        return getFromDevice(applId, message, size);
    case LineFrame::State::Whole:
        break;
    }

    if (frame.length < kMessageHeader || (frame.command == kDataB3 && frame.subcommand == kInd)) {
        return LineFrameProbe::discard(fd, frame.length) ? kCapiIllegalMessage : kCapiLineLost;
    }

    unsigned char* buffer = nullptr;
    const unsigned result = capi20_get_message(applId, &buffer);
    if (result != kCapiNoError)
        return result;
    *message = buffer;
    // The library cuts a frame to its receive buffer.
    *size = std::min(frame.length, m_receiveBufferSize.load());
    return kCapiNoError;
}

bool Libcapi20Api::partialFrameTooOld(unsigned applId)
{
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard<std::mutex> lock(m_partialMutex);
    const auto [since, first] = m_partialSince.emplace(applId, now);
    return !first && now - since->second >= m_frameLimit;
}

void Libcapi20Api::forgetPartialFrame(unsigned applId)
{
    std::lock_guard<std::mutex> lock(m_partialMutex);
    m_partialSince.erase(applId);
}

unsigned Libcapi20Api::getFromDevice(unsigned applId, const std::uint8_t** message,
                                     std::size_t* size)
{
    // A local CAPI device hands over whole messages; ask whether one is
    // waiting without waiting.
    timeval zero{0, 0};
    if (capi20_waitformessage(applId, &zero) != kCapiNoError)
        return kCapiQueueEmpty;
    unsigned char* buffer = nullptr;
    const unsigned result = capi20_get_message(applId, &buffer);
    if (result != kCapiNoError)
        return result;
    *message = buffer;
    *size = std::size_t(buffer[0] | (buffer[1] << 8));
    return kCapiNoError;
}

unsigned Libcapi20Api::getProfile(unsigned controller, std::uint8_t* profile64)
{
    CallDeadline deadline(m_callLimit);
    return capi20_get_profile(controller, profile64);
}

int Libcapi20Api::descriptor(unsigned applId)
{
    return capi20_fileno(applId);
}

void Libcapi20Api::watchConnection(unsigned applId)
{
    // Only a TCP connection (a router) can vanish silently; a local CAPI
    // device refuses the options, which is fine.
    keepConnectionAlive(capi20_fileno(applId), m_timing);
}
