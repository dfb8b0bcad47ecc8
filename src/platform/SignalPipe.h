#pragma once

#include <initializer_list>
#include <string>

// Turns signals into bytes on a pipe, so that a program ends the normal way
// between two events of its loop (poll() or Qt's) instead of in the middle of
// one: the handler only writes the signal's number to the pipe (saving and
// restoring errno for the code it interrupted), and the loop reads it from
// fd(). One per process: a handler can reach nothing but a global.
class SignalPipe
{
public:
    SignalPipe() = default;
    // The signals go back to their default action.
    ~SignalPipe();
    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;

    // False, with *error set, when the pipe or a handler cannot be set up.
    bool install(std::initializer_list<int> watched, std::string* error);
    // Becomes readable when a signal has arrived.
    int fd() const { return m_read; }
    // The next signal that arrived, 0 when none is waiting.
    int take();

    // While set (a program's start, before its loop runs, when it may wait
    // on something that does not answer), a signal ends the process at once
    // with exit code 0: there is nothing yet that the normal way would do.
    static void setEndAtOnce(bool on);

private:
    int m_read = -1;
    int m_write = -1;
    int m_signals[8] = {};
    int m_count = 0;
};
