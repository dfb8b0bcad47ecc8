#pragma once

#include "capi/CapiApi.h"
#include "line/LineTiming.h"

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>

// CapiApi over libcapi20 (capi20_*), with guards against the faults of its
// CAPI-over-TCP module, so that nothing arriving on the line can block the
// program, crash it or leave it deaf:
// - getMessage asks the library only when a whole frame is buffered on the
//   registration socket (the library would otherwise block in recv, on an
//   empty queue and on half a frame);
// - a frame announced longer than 4096 bytes would overflow a stack buffer
//   in the library: the line is reported lost instead;
// - a frame too short to be a message, or a DATA_B3_IND (which the library
//   post-processes with lengths taken from the message, writing past its
//   buffer, and whose buffer it then keeps), is taken off the socket here
//   and dropped;
// - a connection the other side closed is reported as kCapiLineLost, not as
//   an empty queue for ever;
// - SIGPIPE is ignored, so a put on a closed connection returns an error;
// - the module copies a fixed 2173 bytes of every message it sends, so
//   messages are put from a zeroed buffer of that size;
// - calls that wait for an answer (install check, register, release, put,
//   profile) are bounded by a time limit (CallDeadline);
// - a frame that stays incomplete for longer than the frame limit, or a
//   stream whose next byte is not the start of a frame, is a lost line: the
//   rest of such a frame would never come, and the calls behind it would
//   only fill it up.
//
// Registrations may be used from different threads, one thread per
// registration at a time.
class Libcapi20Api : public CapiApi
{
public:
    // The call limit, the frame limit and the TCP keepalive on each
    // registration's connection come from the timing.
    explicit Libcapi20Api(const LineTiming& timing);

    unsigned installed() override;
    unsigned registerApplication(unsigned messageBufferSize, unsigned maxLogicalConnections,
                                 unsigned maxBDataBlocks, unsigned maxBDataLength,
                                 unsigned* applId) override;
    unsigned release(unsigned applId) override;
    unsigned putMessage(unsigned applId, const std::uint8_t* message) override;
    unsigned getMessage(unsigned applId, const std::uint8_t** message, std::size_t* size) override;
    unsigned getProfile(unsigned controller, std::uint8_t* profile64) override;
    void watchConnection(unsigned applId) override;
    int descriptor(unsigned applId) override;

    // Ignores SIGPIPE for the whole process; the constructor calls it.
    static void ignoreSigpipe();

private:
    unsigned getFromDevice(unsigned applId, const std::uint8_t** message, std::size_t* size);
    // True when the partial frame of this registration has been waiting for
    // longer than the frame limit; the first call starts the wait.
    bool partialFrameTooOld(unsigned applId);
    void forgetPartialFrame(unsigned applId);

    LineTiming m_timing;
    std::chrono::milliseconds m_callLimit;
    std::chrono::milliseconds m_frameLimit;
    std::atomic<std::size_t> m_receiveBufferSize{2048};
    std::mutex m_partialMutex;
    std::map<unsigned, std::chrono::steady_clock::time_point> m_partialSince;
};
