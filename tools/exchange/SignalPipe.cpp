#include "SignalPipe.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A signal handler can reach nothing but a global: the write end of the pipe.
volatile sig_atomic_t g_writeFd = -1;

extern "C" void onSignal(int signal)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    if (g_writeFd >= 0) [[maybe_unused]]
        const ssize_t ignored = ::write(g_writeFd, &byte, 1);
    errno = savedErrno;
}

} // namespace

SignalPipe::~SignalPipe()
{
    ::signal(SIGTERM, SIG_DFL);
    ::signal(SIGINT, SIG_DFL);
    g_writeFd = -1;
}

bool SignalPipe::install(std::string& error)
{
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    m_read.reset(fds[0]);
    m_write.reset(fds[1]);
    g_writeFd = fds[1];

    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    return true;
}

int SignalPipe::take()
{
    unsigned char byte = 0;
    return ::read(m_read.get(), &byte, 1) == 1 ? byte : 0;
}
