#pragma once

#include "line/LineTiming.h"

// Turns on TCP keepalive on a line's connection, so that a router that
// vanished without closing it (it lost its power, a cable was pulled) is
// noticed after idle + interval * count seconds of silence. Keepalive probes
// are not sent while data waits for its acknowledgement; that wait is bounded
// the same way. False when the descriptor is no TCP socket (a local CAPI
// device), which needs none of this.
bool keepConnectionAlive(int fd, const LineTiming& timing);
