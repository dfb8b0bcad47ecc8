#pragma once

#include <QString>
#include <vector>

class RetryTimers;

// How patiently the program keeps its line: the time limit of each blocking
// CAPI call, the delays between tries after the line was lost, and the TCP
// keepalive that notices a line that vanished without a word.
struct LineTiming
{
    int callLimitMs = 5000;
    // A frame that has not arrived whole this long after its first byte
    // never will: the stream is broken and the line counts as lost.
    int frameLimitMs = 5000;
    // 1, 2, 4, 8, 16 s, then every 30 s for as long as it takes.
    std::vector<int> retryDelaysMs{1000, 2000, 4000, 8000, 16000, 30000};
    int keepAliveIdleSeconds = 60;
    int keepAliveIntervalSeconds = 10;
    int keepAliveCount = 5;
    // What brings the tries; none: Qt's timers. Tests give timers of their
    // own here, which they move forward by hand.
    RetryTimers* retryTimers = nullptr;

    // The delay before try number `attempt` (0 for the first after a loss);
    // the last delay repeats.
    int retryDelayMs(int attempt) const;

    // The defaults, changed by RINGVAKT_TEST_LINE_TIMING when it is set. That
    // variable exists so that tests of a lost line run in seconds, for
    // example "call=1500,retry=100:200:400,keepalive=1:1:2" (milliseconds for
    // the call limit and the retries, seconds for keepalive idle, interval,
    // count, and frame=MS for the frame limit). A malformed value is ignored
    // with a warning.
    static LineTiming fromEnvironment();
    // Parses such a text over the defaults; false when it is malformed.
    static bool parse(const QString& text, LineTiming* timing);
};
