#pragma once

#include "capi/CapiHandOver.h"
#include "capi/CapiLink.h"

#include <QtGlobal>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class CapiApi;
class QObject;

// One attempt to move the line to a new registration (handOverLine): run at
// once, or on a worker thread so that a line that does not answer cannot
// hold the program. The keeper that starts it says whether its result is
// still wanted; the worker hands the outcome to the keeper's thread, unless
// the attempt was given up (it never ended in time) or its keeper went.
class CapiAttempt
{
public:
    struct Outcome
    {
        quint64 attempt = 0;
        HandOver handOver;
        // The registration made, listening when handOver.listening.
        std::shared_ptr<CapiLink> link;
        bool letGo = false; // no longer wanted when it ended: nothing stands
    };
    using Finished = std::function<void(const Outcome&)>;

    // `from` is the registration there is (possibly none), `fromLost` when
    // its line is known to be gone.
    CapiAttempt(quint64 number, CapiApi& api, std::shared_ptr<CapiLink> from, int callLimitMs,
                bool fromLost);
    // Waits for a worker that still runs, unless the attempt was given up.
    ~CapiAttempt();

    CapiAttempt(const CapiAttempt&) = delete;
    CapiAttempt& operator=(const CapiAttempt&) = delete;

    quint64 number() const;
    // Whether the result is still wanted; an attempt that finds it is not
    // lets go what it made.
    void setWanted(bool wanted);

    // On the calling thread.
    Outcome runHere();
    // On a worker; `finished` is called on the thread of `context` (queued).
    void runOnWorker(QObject* context, Finished finished);
    // Given up: its outcome goes nowhere, what it makes it lets go itself,
    // and it counts in `givenUp` until it ends. The link it holds is never
    // touched again from outside.
    void giveUp(std::shared_ptr<std::atomic<int>> givenUp);
    // The keeper goes: the outcome goes nowhere.
    void forget();

private:
    struct Shared;
    static Outcome run(Shared& shared);

    std::shared_ptr<Shared> m_shared;
    std::thread m_worker;
};
