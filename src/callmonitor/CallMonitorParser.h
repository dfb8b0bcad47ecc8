#pragma once

#include <string>
#include <string_view>
#include <vector>

// One event of a router's call monitor: a text line of fields separated by
// ';' (with a ';' at the end), the first the router's date and time as
// "dd.mm.yy hh:mm:ss", the second the kind of event.
struct CallMonitorEvent
{
    enum class Kind
    {
        Ring,       // date;RING;id;caller;called;line;
        Call,       // date;CALL;id;extension;own number;dialled number;line;
        Connect,    // date;CONNECT;id;extension;number;
        Disconnect, // date;DISCONNECT;id;seconds;
    };
    Kind kind = Kind::Ring;
    std::string date;
    std::string connectionId;
    // For a RING: the caller's number (empty: none was delivered) and the
    // number that was called.
    std::string caller;
    std::string called;
    // For a CONNECT: the extension that took the call (empty when the
    // router named it in a way that is no extension).
    std::string extension;
    // For a DISCONNECT: how long the call was connected, in seconds.
    int seconds = 0;
};

// Turns the bytes of a call monitor connection into events. A line that is
// not understood (too few fields, an unknown event, a broken date, bytes
// that are not text, a number that is not a telephone number, a line longer
// than kMaxLine) is dropped; a partial line waits for its end.
class CallMonitorParser
{
public:
    static constexpr size_t kMaxLine = 1024;
    // The longest extension number a CONNECT names.
    static constexpr size_t kMaxExtension = 16;

    // The events of every line completed by these bytes, in order.
    std::vector<CallMonitorEvent> feed(std::string_view bytes);
    // Forgets a partial line (a new connection starts afresh).
    void reset();

    // Lines dropped so far.
    int dropped() const { return m_dropped; }

private:
    bool parseLine(std::string_view line, CallMonitorEvent* event) const;

    std::string m_partial;
    bool m_discarding = false;
    int m_dropped = 0;
};
