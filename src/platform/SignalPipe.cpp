#include "platform/SignalPipe.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

volatile sig_atomic_t g_writeFd = -1;
volatile sig_atomic_t g_endAtOnce = 0;

extern "C" void onSignal(int signal)
{
    if (g_endAtOnce)
        ::_exit(0);
    // The interrupted code may be about to read errno.
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    // Nothing else is safe here; a full pipe already says that a signal came.
    if (g_writeFd >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(g_writeFd, &byte, 1);
    }
    errno = savedErrno;
}

} // namespace

SignalPipe::~SignalPipe()
{
    for (int i = 0; i < m_count; ++i)
        ::signal(m_signals[i], SIG_DFL);
    g_writeFd = -1;
    for (int fd : {m_read, m_write}) {
        if (fd >= 0)
            ::close(fd);
    }
}

bool SignalPipe::install(std::initializer_list<int> watched, std::string* error)
{
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) {
        *error = std::string("cannot make the signal pipe: ") + std::strerror(errno);
        return false;
    }
    m_read = fds[0];
    m_write = fds[1];
    g_writeFd = m_write;

    struct sigaction action
    {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : watched) {
        if (m_count == int(sizeof m_signals / sizeof m_signals[0]) ||
            ::sigaction(signal, &action, nullptr) != 0) {
            *error = std::string("cannot watch signal ") + std::to_string(signal);
            return false;
        }
        m_signals[m_count++] = signal;
    }
    return true;
}

int SignalPipe::take()
{
    unsigned char byte = 0;
    return ::read(m_read, &byte, 1) == 1 ? byte : 0;
}

void SignalPipe::setEndAtOnce(bool on)
{
    g_endAtOnce = on ? 1 : 0;
}
