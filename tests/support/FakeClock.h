#pragma once

#include "platform/Clock.h"

namespace test {

// A clock that shows whatever moment the test sets.
class FakeClock : public Clock
{
public:
    LocalDateTime now() const override { return moment; }
    LocalDateTime moment{2026, 12, 6, 2, 39, 46};
};

} // namespace test
