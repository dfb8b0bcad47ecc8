#include "capi/CapiLink.h"

#include "capi/CapiApi.h"
#include "capi/CapiTexts.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <poll.h>
#include <thread>

namespace {

// Large enough for the messages the link sends (LISTEN_REQ, CONNECT_RESP),
// whose structs are all empty.
constexpr std::size_t kPackBuffer = 256;
constexpr std::size_t kProfileSize = 64;

} // namespace

CapiLink::CapiLink(CapiApi& api) : m_api(api) {}

void CapiLink::setFatalHandler(std::function<void(const QString&)> handler)
{
    m_fatalHandler = std::move(handler);
}

bool CapiLink::RegisterWithCapi()
{
    if (m_registered)
        return false;
    if (m_api.installed() != kCapiNoError) {
        CapiFatal(QString::fromUtf8(CapiTexts::kNotInstalled));
        return false;
    }
    unsigned id = 0;
    const unsigned result = m_api.registerApplication(kMessageBufferSize, kMaxLogicalConnections,
                                                      kMaxBDataBlocks, kMaxBDataLength, &id);
    m_applId = std::uint16_t(id & 0xFFFF);
    if (result != kCapiNoError) {
        CapiFatal(QString::fromUtf8(CapiTexts::kNotRegistered));
        return false;
    }
    m_registered = true;
    m_api.watchConnection(m_applId);
    return true;
}

bool CapiLink::ReleaseCapi()
{
    // Released already (for instance while a call was being handled): a
    // second CAPI_RELEASE of the same id could only fail.
    if (!m_registered)
        return true;
    m_registered = false;
    m_listensToConfirm = 0;
    if (m_api.release(m_applId) != kCapiNoError) {
        CapiFatal(QString::fromUtf8(CapiTexts::kNotReleased));
        return false;
    }
    return true;
}

std::uint16_t CapiLink::CountControllers(unsigned* capiResult)
{
    std::uint8_t profile[kProfileSize]{};
    const unsigned result = m_api.getProfile(0, profile);
    if (capiResult != nullptr)
        *capiResult = result;
    if (result != kCapiNoError) {
        CapiFatal(QString::fromUtf8(CapiTexts::kUnknownControllerCount));
        return 0;
    }
    return std::uint16_t(profile[0] | (profile[1] << 8));
}

unsigned CapiLink::ListenAll(std::uint32_t cipMask)
{
    unsigned profileResult = kCapiNoError;
    const std::uint16_t controllers = CountControllers(&profileResult);
    if (profileResult != kCapiNoError)
        return profileResult;
    for (unsigned controller = 1; controller <= controllers; ++controller) {
        // A cleared record: Info Mask 0, CIP Mask 2 0, empty calling party
        // number and subaddress.
        _cmsg request;
        capi_cmsg_header(&request, m_applId, CAPI_LISTEN, CAPI_REQ, 0, controller);
        request.CIPmask = cipMask;
        const unsigned result = putRecord(request);
        if (result != kCapiNoError)
            return result;
        ++m_listensToConfirm;
    }
    return kCapiNoError;
}

CapiLink::Listening CapiLink::awaitListening(int limitMs,
                                             const std::function<void(const Call&)>& onCall)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limitMs);
    bool arrived = false;
    while (m_listensToConfirm > 0) {
        if (!m_registered)
            return Listening::LineLost;
        const Fetched fetched = fetch(true);
        if (m_listenRefused)
            return Listening::Refused;
        if (fetched.kind == Fetched::Kind::LineLost)
            return Listening::LineLost;
        if (fetched.kind == Fetched::Kind::Call)
            onCall(fetched.call);
        if (fetched.kind != Fetched::Kind::Nothing)
            continue;
        // Part of a frame is readable but not yet whole: not to be spun on.
        if (arrived)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        const int waited = m_api.waitForMessage(m_applId, int(std::max<long long>(0, left)));
        if (waited < 0)
            return Listening::Confirmed;
        if (waited == 0 && left <= 0)
            return Listening::NotConfirmed;
        arrived = waited > 0;
    }
    return Listening::Confirmed;
}

CapiLink::Fetched CapiLink::fetchOne()
{
    return fetch(true);
}

void CapiLink::drain(const std::function<void(const Call&)>& onCall)
{
    // Bounded, so that a line that never stops talking cannot keep the
    // registration from being made anew.
    constexpr int kMostMessages = 1000;
    for (int i = 0; i < kMostMessages && m_registered; ++i) {
        const Fetched fetched = fetch(false);
        if (fetched.kind == Fetched::Kind::Call)
            onCall(fetched.call);
        else if (fetched.kind != Fetched::Kind::Message)
            return;
    }
}

CapiLink::Fetched CapiLink::fetch(bool actOnConfirmations)
{
    Fetched fetched;
    if (!m_registered)
        return fetched;
    const std::uint8_t* bytes = nullptr;
    std::size_t size = 0;
    const unsigned result = m_api.getMessage(m_applId, &bytes, &size);
    if (result == kCapiLineLost) {
        fetched.kind = Fetched::Kind::LineLost;
        return fetched;
    }
    // A frame the library wrapper took off the line and dropped is a
    // message all the same: more may wait behind it.
    if (result == kCapiIllegalMessage)
        fetched.kind = Fetched::Kind::Message;
    if (result != kCapiNoError)
        return fetched;
    fetched.kind = Fetched::Kind::Message;
    // A message the decoder refuses is dropped like any unknown message.
    if (!m_decoder.decode(bytes, size, m_receivedMessage))
        return fetched;
    switch (m_receivedMessage.Subcommand) {
    case CAPI_CONF:
        if (m_receivedMessage.Command == CAPI_LISTEN && m_listensToConfirm > 0)
            --m_listensToConfirm;
        if (actOnConfirmations)
            OnConfirmation();
        break;
    case CAPI_IND:
        if (m_receivedMessage.Command == CAPI_CONNECT) {
            fetched.kind = Fetched::Kind::Call;
            fetched.responseLost = !answerCall(&fetched.call);
        }
        break;
    default:
        break;
    }
    return fetched;
}

void CapiLink::OnConfirmation()
{
    if (m_receivedMessage.Command == CAPI_LISTEN && m_receivedMessage.Info > 0x00FF) {
        m_listenRefused = true;
        CapiFatal(QString::fromUtf8(CapiTexts::kNoListenConf));
    }
}

bool CapiLink::answerCall(Call* call)
{
    CapiMessageDecoder::copyStruct(m_receivedMessage.CallingPartyNumber, call->calling.data(),
                                   kNumberCopySize);
    CapiMessageDecoder::copyStruct(m_receivedMessage.CalledPartyNumber, call->called.data(),
                                   kNumberCopySize);
    const _cword messageNumber = m_receivedMessage.Messagenumber;
    const _cdword plci = m_receivedMessage.adr.adrPLCI;
    call->plci = plci;

    // Everything but the reject is 0 or empty: B protocol 0/0/0 with empty
    // configurations, no connected number, subaddress or LLC, and empty
    // additional info.
    capi_fill_CONNECT_RESP(&m_receivedMessage, m_applId, messageNumber, plci, kRejectIgnore, 0, 0,
                           0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr);
    // A failed response does not stop the call from being handled; one that
    // failed because the connection is gone says the line is lost.
    return putRecord(m_receivedMessage) != kCapiLineLost;
}

void CapiLink::CapiFatal(const QString& text)
{
    if (m_fatalHandler) {
        m_fatalHandler(text);
        return;
    }
    // Possibly on a worker thread while the program's thread runs: the
    // process ends without running exit handlers under it.
    std::fprintf(stderr, "FEIL: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    std::_Exit(1);
}

unsigned CapiLink::putRecord(_cmsg& record)
{
    std::uint8_t packed[kPackBuffer]{};
    capi_cmsg2message(&record, packed);
    return m_api.putMessage(m_applId, packed);
}

int CapiApi::waitForMessage(unsigned applId, int timeoutMs)
{
    const int fd = descriptor(applId);
    if (fd < 0)
        return -1;
    pollfd p{fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, timeoutMs);
    return ready > 0 ? 1 : 0;
}
