#pragma once

#include "capi/CapiApi.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

// A scripted CAPI for tests: results per operation, a queue of incoming
// messages (raw bytes, see FakeCapiMessages.h), and a record of every call
// in order, with the bytes of every message put and the thread that made
// it. Calls of an operation can be held at a gate until the test lets them
// through, so that a test can act while a worker is inside the library.
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
        std::thread::id thread;          // who made it
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
    // The same for one registration only: only a get of that application id
    // returns it (others pass it by).
    void queueMessageFor(unsigned applId, std::vector<std::uint8_t> bytes);
    std::size_t queuedMessages() const { return m_incoming.size(); }

    std::vector<Call> calls() const;
    std::vector<Call> callsOf(Op op) const;
    void clearCalls();

    // From now on, calls of `op` wait at the gate until it opens.
    void closeGate(Op op);
    void openGate(Op op);
    // Waits (up to 5 s) until a call of `op` waits at its gate.
    bool waitAtGate(Op op);
    // True when two calls were ever inside the fake at the same time.
    bool overlapped() const;
    // The application ids handed out and not released since.
    std::set<unsigned> standing() const;
    // The most registrations that ever stood at once.
    std::size_t mostStanding() const;
    // Register hands out 1, 2, 3, ... instead of one fixed id.
    void countApplIds() { m_counting = true; }
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
    // Entered by every operation: waits at a closed gate, notes overlaps.
    class Entry;
    unsigned resultFor(Op op, unsigned fallback);
    void record(Call call);
    static std::string describe(const Call& call);

    mutable std::mutex m_mutex;
    std::condition_variable m_gateChanged;
    std::set<Op> m_closedGates;
    std::set<Op> m_waiting;
    int m_inside = 0;
    bool m_overlapped = false;
    bool m_counting = false;
    std::set<unsigned> m_standing;
    std::size_t m_mostStanding = 0;

    std::map<Op, unsigned> m_results;
    std::map<Op, std::deque<unsigned>> m_scripted;
    // Each message with the application id it is for (0: any).
    std::deque<std::pair<unsigned, std::vector<std::uint8_t>>> m_incoming;
    std::vector<std::uint8_t> m_current; // the message the last get returned
    std::vector<Call> m_calls;
    unsigned m_applId = 1;
    std::uint16_t m_controllers = 1;
};
