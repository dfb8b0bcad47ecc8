#pragma once

#include "FileDescriptor.h"

#include <string>

// Turns SIGTERM and SIGINT into bytes on a pipe that the poll() loop
// watches, so that the exchange ends between two events and cleans up
// (removes its control socket) instead of dying in the middle of one.
// SIGPIPE is ignored: a client that went away must not end the exchange.
class SignalPipe
{
public:
    ~SignalPipe();
    bool install(std::string& error);
    int fd() const { return m_read.get(); }
    // The signal that arrived, 0 when none.
    int take();

private:
    FileDescriptor m_read;
    FileDescriptor m_write;
};
