#pragma once

#include "platform/Clock.h"

// A clock that shows whatever moment the test sets.
class FakeClock : public Clock
{
public:
    explicit FakeClock(LocalDateTime when = {}) : m_when(when) {}
    void set(LocalDateTime when) { m_when = when; }
    LocalDateTime now() const override { return m_when; }

private:
    LocalDateTime m_when;
};
