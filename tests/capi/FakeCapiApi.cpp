#include "FakeCapiApi.h"

#include <cstring>

void FakeCapiApi::setResult(Op op, unsigned result)
{
    m_results[op] = result;
}

void FakeCapiApi::scriptResult(Op op, unsigned result)
{
    m_scripted[op].push_back(result);
}

void FakeCapiApi::queueMessage(std::vector<std::uint8_t> bytes)
{
    m_incoming.push_back(std::move(bytes));
}

std::vector<FakeCapiApi::Call> FakeCapiApi::callsOf(Op op) const
{
    std::vector<Call> found;
    for (const Call& call : m_calls) {
        if (call.op == op)
            found.push_back(call);
    }
    return found;
}

unsigned FakeCapiApi::resultFor(Op op, unsigned fallback)
{
    auto scripted = m_scripted.find(op);
    if (scripted != m_scripted.end() && !scripted->second.empty()) {
        const unsigned result = scripted->second.front();
        scripted->second.pop_front();
        return result;
    }
    auto fixed = m_results.find(op);
    return fixed != m_results.end() ? fixed->second : fallback;
}

unsigned FakeCapiApi::installed()
{
    const unsigned result = resultFor(Op::Installed, kCapiNoError);
    m_calls.push_back({Op::Installed, 0, 0, {}, result});
    return result;
}

unsigned FakeCapiApi::registerApplication(unsigned messageBufferSize,
                                          unsigned maxLogicalConnections, unsigned maxBDataBlocks,
                                          unsigned maxBDataLength, unsigned* applId)
{
    lastMessageBufferSize = messageBufferSize;
    lastMaxLogicalConnections = maxLogicalConnections;
    lastMaxBDataBlocks = maxBDataBlocks;
    lastMaxBDataLength = maxBDataLength;
    const unsigned result = resultFor(Op::Register, kCapiNoError);
    *applId = result == kCapiNoError ? m_applId : 0;
    m_calls.push_back({Op::Register, *applId, 0, {}, result});
    return result;
}

unsigned FakeCapiApi::release(unsigned applId)
{
    const unsigned result = resultFor(Op::Release, kCapiNoError);
    m_calls.push_back({Op::Release, applId, 0, {}, result});
    return result;
}

unsigned FakeCapiApi::putMessage(unsigned applId, const std::uint8_t* message)
{
    const std::size_t length = std::size_t(message[0] | (message[1] << 8));
    const unsigned result = resultFor(Op::Put, kCapiNoError);
    m_calls.push_back({Op::Put, applId, 0, {message, message + length}, result});
    return result;
}

unsigned FakeCapiApi::getMessage(unsigned applId, const std::uint8_t** message, std::size_t* size)
{
    *message = nullptr;
    *size = 0;
    unsigned result = resultFor(Op::Get, m_incoming.empty() ? kCapiQueueEmpty : kCapiNoError);
    if (result == kCapiNoError && m_incoming.empty())
        result = kCapiQueueEmpty;
    if (result == kCapiNoError) {
        m_current = std::move(m_incoming.front());
        m_incoming.pop_front();
        *message = m_current.data();
        *size = m_current.size();
    }
    m_calls.push_back({Op::Get, applId, 0, {}, result});
    return result;
}

unsigned FakeCapiApi::getProfile(unsigned controller, std::uint8_t* profile64)
{
    const unsigned result = resultFor(Op::GetProfile, kCapiNoError);
    if (result == kCapiNoError) {
        std::memset(profile64, 0, 64);
        profile64[0] = std::uint8_t(m_controllers & 0xff);
        profile64[1] = std::uint8_t(m_controllers >> 8);
    }
    m_calls.push_back({Op::GetProfile, 0, controller, {}, result});
    return result;
}

std::string FakeCapiApi::describe(const Call& call)
{
    switch (call.op) {
    case Op::Installed:
        return "INSTALLED";
    case Op::Register:
        return "REGISTER";
    case Op::Release:
        return "RELEASE";
    case Op::Get:
        return "GET";
    case Op::GetProfile:
        return "GET_PROFILE";
    case Op::Put:
        break;
    }
    const auto& b = call.bytes;
    if (b.size() >= 12 && b[4] == 0x05 && b[5] == 0x80)
        return "PUT(LISTEN_REQ c" + std::to_string(b[8] | (b[9] << 8) | (b[10] << 16)) + ")";
    if (b.size() >= 6 && b[4] == 0x02 && b[5] == 0x83)
        return "PUT(CONNECT_RESP)";
    return "PUT";
}

std::string FakeCapiApi::summary(bool skipGets) const
{
    std::string text;
    for (const Call& call : m_calls) {
        if (skipGets && call.op == Op::Get)
            continue;
        if (!text.empty())
            text += ", ";
        text += describe(call);
    }
    return text;
}
