#pragma once

#include "line/RetryTimer.h"

#include <QCoreApplication>
#include <algorithm>
#include <memory>
#include <vector>

namespace test {

// Retry timers on a clock of the test's own: nothing fires until the test
// moves the clock with advance(), and then everything due fires in order,
// with the event loop drained after each (what a try starts runs to its end).
class FakeRetryTimers : public RetryTimers
{
public:
    std::unique_ptr<RetryTimer> make(std::function<void()> fire) override
    {
        auto timer = std::make_unique<Timer>(*this, std::move(fire));
        m_timers.push_back(timer.get());
        return timer;
    }

    void advance(long long milliseconds)
    {
        const long long end = m_now + milliseconds;
        for (;;) {
            Timer* next = nullptr;
            for (Timer* t : m_timers) {
                if (t->active && t->due <= end && (!next || t->due < next->due))
                    next = t;
            }
            if (!next)
                break;
            m_now = next->due;
            next->active = false;
            next->fire();
            QCoreApplication::processEvents();
        }
        m_now = end;
    }
    // True when a try is scheduled.
    bool anyActive() const
    {
        return std::any_of(m_timers.begin(), m_timers.end(), [](Timer* t) { return t->active; });
    }
    long long now() const { return m_now; }

private:
    struct Timer : RetryTimer
    {
        Timer(FakeRetryTimers& owner, std::function<void()> f) : owner(owner), fire(std::move(f)) {}
        ~Timer() override
        {
            owner.m_timers.erase(std::find(owner.m_timers.begin(), owner.m_timers.end(), this));
        }
        void start(int milliseconds) override
        {
            active = true;
            due = owner.m_now + milliseconds;
        }
        void stop() override { active = false; }
        bool isActive() const override { return active; }

        FakeRetryTimers& owner;
        std::function<void()> fire;
        bool active = false;
        long long due = 0;
    };

    std::vector<Timer*> m_timers;
    long long m_now = 0;
};

} // namespace test
