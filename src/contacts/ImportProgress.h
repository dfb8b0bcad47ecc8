#pragma once

#include <QtGlobal>
#include <atomic>

// How far the reading and planning of an import has come, and whether it is
// to stop: written by the worker that does the work, read and cancelled by
// the window that shows it. Every member is atomic, so both may touch it at
// any time.
struct ImportProgress
{
    enum Phase
    {
        Reading,  // `done` and `total` count bytes of the file
        Planning, // `done` and `total` count contacts
    };

    std::atomic<int> phase{Reading};
    std::atomic<qint64> done{0};
    std::atomic<qint64> total{0};
    std::atomic<bool> cancelled{false};

    bool stopped() const { return cancelled.load(std::memory_order_relaxed); }
};
