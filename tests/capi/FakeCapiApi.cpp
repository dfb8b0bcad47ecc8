#include "FakeCapiApi.h"

#include <algorithm>
#include <chrono>
#include <cstring>

class FakeCapiApi::Entry
{
public:
    Entry(FakeCapiApi& fake, Op op) : m_fake(fake)
    {
        std::unique_lock<std::mutex> lock(fake.m_mutex);
        if (++fake.m_inside > 1)
            fake.m_overlapped = true;
        if (fake.m_closedGates.count(op) != 0) {
            fake.m_waiting.insert(op);
            fake.m_gateChanged.notify_all();
            // Bounded, so that a test that forgets to open cannot hang.
            fake.m_gateChanged.wait_for(lock, std::chrono::seconds(10),
                                        [&] { return fake.m_closedGates.count(op) == 0; });
            fake.m_waiting.erase(op);
        }
    }
    ~Entry()
    {
        std::lock_guard<std::mutex> lock(m_fake.m_mutex);
        --m_fake.m_inside;
    }

private:
    FakeCapiApi& m_fake;
};

void FakeCapiApi::setResult(Op op, unsigned result)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_results[op] = result;
}

void FakeCapiApi::scriptResult(Op op, unsigned result)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_scripted[op].push_back(result);
}

void FakeCapiApi::queueMessage(std::vector<std::uint8_t> bytes)
{
    queueMessageFor(0, std::move(bytes));
}

void FakeCapiApi::queueMessageFor(unsigned applId, std::vector<std::uint8_t> bytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_incoming.emplace_back(applId, std::move(bytes));
}

std::vector<FakeCapiApi::Call> FakeCapiApi::calls() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_calls;
}

void FakeCapiApi::clearCalls()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_calls.clear();
}

void FakeCapiApi::closeGate(Op op)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closedGates.insert(op);
}

void FakeCapiApi::openGate(Op op)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closedGates.erase(op);
    m_gateChanged.notify_all();
}

bool FakeCapiApi::waitAtGate(Op op)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_gateChanged.wait_for(lock, std::chrono::seconds(5),
                                  [&] { return m_waiting.count(op) != 0; });
}

bool FakeCapiApi::overlapped() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_overlapped;
}

std::set<unsigned> FakeCapiApi::standing() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_standing;
}

std::size_t FakeCapiApi::mostStanding() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_mostStanding;
}

void FakeCapiApi::record(Call call)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    call.thread = std::this_thread::get_id();
    m_calls.push_back(std::move(call));
}

std::vector<FakeCapiApi::Call> FakeCapiApi::callsOf(Op op) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<Call> found;
    for (const Call& call : m_calls) {
        if (call.op == op)
            found.push_back(call);
    }
    return found;
}

unsigned FakeCapiApi::resultFor(Op op, unsigned fallback)
{
    std::lock_guard<std::mutex> lock(m_mutex);
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
    Entry entry(*this, Op::Installed);
    const unsigned result = resultFor(Op::Installed, kCapiNoError);
    record({Op::Installed, 0, 0, {}, result, {}});
    return result;
}

unsigned FakeCapiApi::registerApplication(unsigned messageBufferSize,
                                          unsigned maxLogicalConnections, unsigned maxBDataBlocks,
                                          unsigned maxBDataLength, unsigned* applId)
{
    Entry entry(*this, Op::Register);
    lastMessageBufferSize = messageBufferSize;
    lastMaxLogicalConnections = maxLogicalConnections;
    lastMaxBDataBlocks = maxBDataBlocks;
    lastMaxBDataLength = maxBDataLength;
    const unsigned result = resultFor(Op::Register, kCapiNoError);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        *applId = result == kCapiNoError ? (m_counting ? m_applId++ : m_applId) : 0;
        if (result == kCapiNoError) {
            m_standing.insert(*applId);
            m_mostStanding = std::max(m_mostStanding, m_standing.size());
        }
    }
    record({Op::Register, *applId, 0, {}, result, {}});
    return result;
}

unsigned FakeCapiApi::release(unsigned applId)
{
    Entry entry(*this, Op::Release);
    const unsigned result = resultFor(Op::Release, kCapiNoError);
    {
        // Released even when the release reports a failure: the library
        // drops the registration either way.
        std::lock_guard<std::mutex> lock(m_mutex);
        m_standing.erase(applId);
    }
    record({Op::Release, applId, 0, {}, result, {}});
    return result;
}

unsigned FakeCapiApi::putMessage(unsigned applId, const std::uint8_t* message)
{
    Entry entry(*this, Op::Put);
    const std::size_t length = std::size_t(message[0] | (message[1] << 8));
    const unsigned result = resultFor(Op::Put, kCapiNoError);
    record({Op::Put, applId, 0, {message, message + length}, result, {}});
    return result;
}

unsigned FakeCapiApi::getMessage(unsigned applId, const std::uint8_t** message, std::size_t* size)
{
    Entry entry(*this, Op::Get);
    *message = nullptr;
    *size = 0;
    const auto next = [this, applId] {
        return std::find_if(m_incoming.begin(), m_incoming.end(), [applId](const auto& queued) {
            return queued.first == 0 || queued.first == applId;
        });
    };
    bool empty = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        empty = next() == m_incoming.end();
    }
    unsigned result = resultFor(Op::Get, empty ? kCapiQueueEmpty : kCapiNoError);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto found = next();
        if (result == kCapiNoError && found == m_incoming.end())
            result = kCapiQueueEmpty;
        if (result == kCapiNoError) {
            m_current = std::move(found->second);
            m_incoming.erase(found);
            *message = m_current.data();
            *size = m_current.size();
        }
    }
    record({Op::Get, applId, 0, {}, result, {}});
    return result;
}

unsigned FakeCapiApi::getProfile(unsigned controller, std::uint8_t* profile64)
{
    Entry entry(*this, Op::GetProfile);
    const unsigned result = resultFor(Op::GetProfile, kCapiNoError);
    if (result == kCapiNoError) {
        std::memset(profile64, 0, 64);
        profile64[0] = std::uint8_t(m_controllers & 0xff);
        profile64[1] = std::uint8_t(m_controllers >> 8);
    }
    record({Op::GetProfile, 0, controller, {}, result, {}});
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
    for (const Call& call : calls()) {
        if (skipGets && call.op == Op::Get)
            continue;
        if (!text.empty())
            text += ", ";
        text += describe(call);
    }
    return text;
}
