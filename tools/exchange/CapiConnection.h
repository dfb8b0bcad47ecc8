#pragma once

#include "FileDescriptor.h"
#include "Outbox.h"

#include <cstdint>
#include <map>
#include <string>

// One TCP connection of a CAPI client: libcapi20's fritzbox module opens one
// for the install check and GET_PROFILE, and one per registered
// application. Holds what was received but not yet handled, what waits to
// be sent, and the application registered on it.
class CapiConnection
{
public:
    CapiConnection(unsigned number, FileDescriptor fd, bool silent);

    unsigned number() const { return m_number; }
    int fd() const { return m_fd.get(); }

    // Reads what the socket holds (at most one chunk per call; poll() calls
    // again while more is there). False when the peer closed or failed.
    bool receive();

    enum class Frame
    {
        None,
        Message,
        Garbage
    };
    // Takes the next whole "0x80, length, message" frame off the input.
    // Garbage: the input is not such a frame; reason says why and message
    // holds the offending bytes.
    Frame next(std::string& message, std::string& reason);
    // Bytes received that do not make a whole frame yet.
    size_t buffered() const { return m_input.size(); }

    // Sends one frame now (or as soon as the socket takes it). False when
    // the connection is broken.
    bool send(const std::string& bytes) { return m_outbox.send(fd(), bytes); }
    bool flush() { return m_outbox.flush(fd()); }
    bool hasOutput() const { return !m_outbox.empty(); }

    // Accepted while the exchange was silent: nothing is ever answered.
    bool silent() const { return m_silent; }
    // Muted by command: nothing is answered or sent until unmuted.
    bool muted() const { return m_muted; }
    void setMuted(bool muted) { m_muted = muted; }
    bool quiet() const { return m_silent || m_muted; }

    uint16_t applId() const { return m_applId; }
    bool registered() const { return m_applId != 0; }
    void registerAppl(uint16_t applId) { m_applId = applId; }
    void release()
    {
        m_applId = 0;
        m_listen.clear();
    }

    // The CIP mask of the last LISTEN_REQ per controller (CIP mask 0 stops
    // listening).
    void setListen(uint8_t controller, uint32_t cipMask);
    uint32_t listenMask(uint8_t controller) const;
    const std::map<uint8_t, uint32_t>& listenMasks() const { return m_listen; }

private:
    unsigned m_number;
    FileDescriptor m_fd;
    bool m_silent;
    bool m_muted = false;
    uint16_t m_applId = 0;
    std::map<uint8_t, uint32_t> m_listen;
    std::string m_input;
    Outbox m_outbox;
};
