#pragma once

#include "platform/Clock.h"

namespace test {

// A clock that shows whatever moment the test sets; its steady count moves
// only when the test moves it.
class FakeClock : public Clock
{
public:
    explicit FakeClock(LocalDateTime when = {2026, 12, 6, 2, 39, 46}) : moment(when) {}
    void set(LocalDateTime when) { moment = when; }
    LocalDateTime now() const override { return moment; }
    qint64 steadyMs() const override { return steady; }
    // Moves the steady count (not the wall clock) forward.
    void advance(qint64 ms) { steady += ms; }

    LocalDateTime moment;
    qint64 steady = 1000000;
};

} // namespace test
