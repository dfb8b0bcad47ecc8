#pragma once

#include "platform/Clock.h"

namespace test {

// A clock that shows whatever moment the test sets.
class FakeClock : public Clock
{
public:
    explicit FakeClock(LocalDateTime when = {2026, 12, 6, 2, 39, 46}) : moment(when) {}
    void set(LocalDateTime when) { moment = when; }
    LocalDateTime now() const override { return moment; }

    LocalDateTime moment;
};

} // namespace test
