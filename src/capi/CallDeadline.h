#pragma once

#include <chrono>
#include <ctime>

// Bounds a blocking library call on the calling thread. libcapi20's
// CAPI-over-TCP module waits without a time limit: for a router that
// accepts the connection but never answers a REGISTER or GET_PROFILE, and in
// connect() to a host that does not answer. While a CallDeadline lives, a
// timer sends this thread a signal (whose handler does nothing and does not
// restart system calls) once the limit has passed, and again every 200 ms,
// so the blocking read or connect inside the library fails with EINTR and
// the call returns its error.
//
// A zero limit arms nothing.
class CallDeadline
{
public:
    explicit CallDeadline(std::chrono::milliseconds limit);
    ~CallDeadline();

    CallDeadline(const CallDeadline&) = delete;
    CallDeadline& operator=(const CallDeadline&) = delete;

private:
    timer_t m_timer{};
    bool m_armed = false;
    std::chrono::steady_clock::time_point m_end;
};
