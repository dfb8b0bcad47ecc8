#pragma once

#include <functional>
#include <memory>

// The timer that brings the next try after a line was lost. The program
// uses Qt's timers; tests put timers in their place that they move forward
// by hand, so that a schedule of seconds is tested without waiting for it.
class RetryTimer
{
public:
    virtual ~RetryTimer() = default;
    // Fires once, after the delay (again: starts anew).
    virtual void start(int milliseconds) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

class RetryTimers
{
public:
    virtual ~RetryTimers() = default;
    virtual std::unique_ptr<RetryTimer> make(std::function<void()> fire) = 0;
};

// A single-shot Qt timer.
std::unique_ptr<RetryTimer> makeQtRetryTimer(std::function<void()> fire);
