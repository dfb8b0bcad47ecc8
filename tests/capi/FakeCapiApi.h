#pragma once

#include "capi/CapiApi.h"

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

// A scripted CAPI for tests: results per operation, a queue of incoming
// messages (raw bytes, see FakeCapiMessages.h), and a record of every call
// in order, with the bytes of every message put.
class FakeCapiApi : public CapiApi
{
public:
    enum class Op
    {
        Installed,
        Register,
        Release,
        Put,
        Get,
        GetProfile
    };

    struct Call
    {
        Op op;
        unsigned applId = 0;             // Register: the id handed out
        unsigned controller = 0;         // GetProfile
        std::vector<std::uint8_t> bytes; // Put: the message as put
        unsigned result = 0;             // what the call returned
    };

    // The result of every later call of `op` (0 unless set; Get returns
    // kCapiQueueEmpty when no message is queued and no result is scripted).
    void setResult(Op op, unsigned result);
    // The result of the next call of `op` only; several are used in order.
    void scriptResult(Op op, unsigned result);
    // The application id a successful register hands out (1 by default).
    void setApplId(unsigned applId) { m_applId = applId; }
    // The controller count of the profile (1 by default).
    void setControllers(std::uint16_t count) { m_controllers = count; }

    // Queues an incoming message: the next get that succeeds returns it.
    void queueMessage(std::vector<std::uint8_t> bytes);
    std::size_t queuedMessages() const { return m_incoming.size(); }

    const std::vector<Call>& calls() const { return m_calls; }
    std::vector<Call> callsOf(Op op) const;
    void clearCalls() { m_calls.clear(); }
    // The calls in order as text, for example
    // "GET, PUT(CONNECT_RESP), RELEASE, INSTALLED, REGISTER, GET_PROFILE,
    // PUT(LISTEN_REQ c1)". With skipGets, GET entries are left out.
    std::string summary(bool skipGets = false) const;

    // CapiApi
    unsigned installed() override;
    unsigned registerApplication(unsigned messageBufferSize, unsigned maxLogicalConnections,
                                 unsigned maxBDataBlocks, unsigned maxBDataLength,
                                 unsigned* applId) override;
    unsigned release(unsigned applId) override;
    unsigned putMessage(unsigned applId, const std::uint8_t* message) override;
    unsigned getMessage(unsigned applId, const std::uint8_t** message, std::size_t* size) override;
    unsigned getProfile(unsigned controller, std::uint8_t* profile64) override;

    // The register parameters of the last register call.
    unsigned lastMessageBufferSize = 0;
    unsigned lastMaxLogicalConnections = 0;
    unsigned lastMaxBDataBlocks = 0;
    unsigned lastMaxBDataLength = 0;

private:
    unsigned resultFor(Op op, unsigned fallback);
    static std::string describe(const Call& call);

    std::map<Op, unsigned> m_results;
    std::map<Op, std::deque<unsigned>> m_scripted;
    std::deque<std::vector<std::uint8_t>> m_incoming;
    std::vector<std::uint8_t> m_current; // the message the last get returned
    std::vector<Call> m_calls;
    unsigned m_applId = 1;
    std::uint16_t m_controllers = 1;
};
