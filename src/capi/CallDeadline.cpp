#include "capi/CallDeadline.h"

#include <csignal>
#include <mutex>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr long kRepeatNanoseconds = 200L * 1000 * 1000;

int deadlineSignal()
{
    // A real-time signal of our own; glibc keeps the ones below SIGRTMIN.
    return SIGRTMIN + 4;
}

void onDeadline(int) {}

void installHandlerOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action
        {};
        action.sa_handler = onDeadline;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0; // no SA_RESTART: the blocked call must return
        sigaction(deadlineSignal(), &action, nullptr);
    });
}

} // namespace

CallDeadline::CallDeadline(std::chrono::milliseconds limit)
    : m_end(std::chrono::steady_clock::now() + limit)
{
    if (limit.count() <= 0)
        return;
    installHandlerOnce();

    sigevent event{};
    event.sigev_notify = SIGEV_THREAD_ID;
    event.sigev_signo = deadlineSignal();
    event._sigev_un._tid = pid_t(syscall(SYS_gettid));
    if (timer_create(CLOCK_MONOTONIC, &event, &m_timer) != 0)
        return;

    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(limit).count();
    itimerspec period{};
    period.it_value.tv_sec = time_t(ns / 1000000000);
    period.it_value.tv_nsec = long(ns % 1000000000);
    period.it_interval.tv_nsec = kRepeatNanoseconds;
    if (timer_settime(m_timer, 0, &period, nullptr) != 0) {
        timer_delete(m_timer);
        return;
    }
    m_armed = true;
}

CallDeadline::~CallDeadline()
{
    if (m_armed)
        timer_delete(m_timer);
}
