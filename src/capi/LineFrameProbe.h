#pragma once

#include <cstddef>
#include <cstdint>

// What is waiting on the socket of a CAPI-over-TCP registration, found by
// peeking without taking anything off it. libcapi20's fritzbox module reads
// a frame (0x80, a 16-bit length, then the message) with blocking reads into
// a 4096-byte stack buffer, so it may only be asked for a message when a
// whole frame of a sane size is already buffered.
struct LineFrame
{
    enum class State
    {
        Empty,     // nothing buffered
        Partial,   // part of a frame; the rest has not arrived yet
        Whole,     // a whole frame is buffered
        Oversized, // the header announces more than kMaxFrame bytes
        Malformed, // the first byte is not the start of a frame
        Closed,    // the other side closed the connection, or it failed
        NotSocket, // the descriptor is no socket (a local CAPI device)
    };

    State state = State::Empty;
    std::size_t length = 0;      // the frame's announced length (Whole, Oversized)
    std::uint8_t command = 0;    // the message's command and subcommand, when the
    std::uint8_t subcommand = 0; // frame holds at least the first six bytes
};

class LineFrameProbe
{
public:
    // The largest frame the library can take.
    static constexpr std::size_t kMaxFrame = 4096;
    static constexpr std::size_t kHeader = 3;
    // Every frame on a registration's connection starts with this byte.
    static constexpr std::uint8_t kFrameStart = 0x80;

    // Looks at what is buffered on `fd`; never blocks.
    static LineFrame probe(int fd);
    // Takes one whole frame of `length` bytes off `fd` and throws it away.
    // Only for a frame that probe() found Whole.
    static bool discard(int fd, std::size_t length);
};
