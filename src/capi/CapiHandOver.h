#pragma once

#include "capi/CapiLink.h"

#include <chrono>
#include <functional>
#include <vector>

// Moves the line from one registration to the next without a moment in
// which nobody listens: the next registers and listens first, and once the
// line has confirmed that it listens, what the old one still holds is
// fetched (each call indication answered with its CONNECT_RESP) and the old
// one is released. A call that rings during the hand-over is told to both;
// see HandOverDuplicates.
struct HandOver
{
    // The next registration listens.
    bool listening = false;
    // The line refused to let it listen: fatal, as at start-up.
    bool listenRefused = false;
    // The calls the old registration still held, in order, then those the
    // next one was told of before its listening was confirmed.
    std::vector<CapiLink::Call> drained;
    // The first failure either registration reported (its fatal handler is
    // taken over for the hand-over), or why the listen request failed.
    QString failure;
};

// `stillWanted` is asked before and once the next registration listens;
// when it says no (the line was switched off meanwhile), the next one is
// released too. Either link may be unregistered: an unregistered `from` is
// only left behind, and `to` is not registered while nothing is wanted. The
// confirmation is waited for up to `confirmLimitMs`.
//
// A `from` whose line is known to be gone hears nothing any more: it is
// released first. (libcapi20 also renews its connection for the profile only
// after a release: the next registration could not ask for the controllers
// over the dead one.)
HandOver handOverLine(CapiLink& from, CapiLink& to, const std::function<bool()>& stillWanted,
                      int confirmLimitMs, bool fromLost = false);

// Knows the calls that a hand-over drained from the old registration, so
// that the same call, told to the next registration too, is handed on once.
// A call is the same when both its PLCI and its numbers are; a caller who
// rings again is a new call with a PLCI of its own.
class HandOverDuplicates
{
public:
    using Clock = std::chrono::steady_clock;
    // How long after a hand-over its calls can still come on the next
    // registration.
    static constexpr std::chrono::seconds kWindow{10};

    void remember(const std::vector<CapiLink::Call>& drained, Clock::time_point now);
    // True (once) for a call a hand-over drained already.
    bool isDuplicate(const CapiLink::Call& call, Clock::time_point now);
    void clear() { m_calls.clear(); }

private:
    struct Seen
    {
        CapiLink::Call call;
        Clock::time_point until;
    };
    std::vector<Seen> m_calls;
};
