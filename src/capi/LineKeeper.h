#pragma once

#include "capi/CapiAttempt.h"
#include "capi/CapiHandOver.h"
#include "capi/CapiLink.h"
#include "capi/CapiWorkers.h"
#include "line/Line.h"
#include "line/LineRecovery.h"
#include "line/LineTiming.h"

#include <QTimer>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>

class CapiApi;
class QSocketNotifier;

// Keeps the program on its CAPI line once it has started. A router
// restarts, a network drops, a CAPI service is switched off: losing the line
// is then not the end of the program but the "no line" state, from which it
// tries again (LineRecovery). Only the start-up registration (the user has
// just started the program and needs to know the set-up is wrong) and a
// listen request the line refuses remain fatal.
//
// The registration after each call and every try run on a worker thread, so
// that a line that accepts a connection and then says nothing cannot freeze
// the windows. The link has one owner at a time: the worker from the start
// of an attempt to its end, the program's thread otherwise. The program's
// thread never waits for a worker: switching off, on or ending only records
// what is wanted, and the end of the attempt carries it out. An attempt that
// is no longer wanted when it has registered releases what it made, on the
// worker. One worker at a time in the whole process (CapiWorkers); an
// attempt that has not ended after three call limits is given up as a lost
// line, and the link it holds is left to it.
//
// The line is never deaf: after each call the next registration listens
// before the old one is released (handOverLine); what the old one still
// held is answered and handed on, in order, and a call told to both is
// handed on once (HandOverDuplicates).
class LineKeeper : public Line
{
    Q_OBJECT
public:
    enum class State
    {
        Off,        // released on purpose (the mode Disabled)
        Up,         // registered and listening
        Connecting, // a registration is being made
        Lost,       // no line; waiting for the next try
    };
    // Where registrations are made: on a worker thread (the program), or at
    // once on the calling thread (tests with a scripted line).
    enum class Execution
    {
        Thread,
        Inline,
    };

    // `workers` is the process's one place in the library; without one the
    // keeper has a place of its own.
    LineKeeper(CapiApi& api, LineTiming timing, Execution execution = Execution::Thread,
               CapiWorkers* workers = nullptr, QObject* parent = nullptr);
    // Waits for an attempt still running (it is bounded by the call limit)
    // and releases what stands. The program does not get here with an
    // attempt running: it ends without waiting (see backgroundWorkRunning).
    ~LineKeeper() override;

    // What a fatal failure does (the program: the "FEIL" box, exit code 1).
    void setFatalHandler(std::function<void(const QString&)> handler);
    // Where the changes of state are reported (one line each); standard
    // error by default.
    void setReport(std::function<void(const QString&)> report);

    // Start-up: register and listen now. A failure is fatal. False after one.
    bool startUp() override;
    // The calls drained from an old registration, then one message from the
    // line, when it is up.
    void poll() override;
    // Entering Disabled: no more tries; what stands is released.
    void switchOff() override;
    // Leaving Disabled: try at once.
    void switchOn() override;
    // The end of the program: a standing registration is released once; an
    // attempt still running is not waited for.
    void shutDown() override;
    bool backgroundWorkRunning() const override { return m_attempt != nullptr; }

    bool isLineLost() const override { return m_recovery.isLost(); }
    QDateTime lostAt() const override { return m_recovery.lostAt(); }

    State state() const { return m_state; }
    // The reason of the last failure, for the report.
    QString lastFailure() const { return m_recovery.lastFailure(); }
    // The number of tries since the line was lost.
    int attempts() const { return m_recovery.attempts(); }
    // The link; only for looking at while no attempt runs.
    const CapiLink& link() const { return *m_link; }

private:
    void startAttempt();
    // Starts the worker of the attempt; the place in the library is had.
    void launch();
    void workersFreed();
    void attemptFinished(const CapiAttempt::Outcome& outcome);
    // The attempt did not end in time: given up, its link left to it.
    void giveUp();
    void endAttempt();
    void handOnDrainedCalls();
    void emitCall(const CapiLink::Call& call);
    void becomeUp();
    void lose(const QString& why);
    void setState(State state);
    void releaseQuietly();
    std::shared_ptr<CapiLink> newLink();
    // The socket of the registration wakes the program when a message
    // arrives; the poll timer stays as a safety net.
    void startWaking();
    void stopWaking();
    // After a poll: wake again on the socket, or, when it holds only part
    // of a frame, look again shortly.
    void wakeAgain(bool fetchedSomething);

    CapiApi& m_api;
    Execution m_execution;
    LineRecovery m_recovery;
    CapiWorkers* m_workers;
    std::unique_ptr<CapiWorkers> m_ownWorkers;
    std::shared_ptr<CapiLink> m_link;
    // The line of m_link is known to be gone.
    bool m_linkLost = false;
    State m_state = State::Off;
    // What the user wants: the line (on), or not (off, or the end).
    bool m_wantOn = false;
    bool m_shutDown = false;
    quint64 m_lastAttempt = 0;
    // The attempt running; null when none runs.
    std::unique_ptr<CapiAttempt> m_attempt;
    // An attempt waits for another line's worker to leave the library.
    bool m_waitingForWorkers = false;
    QTimer m_giveUp;
    std::deque<CapiLink::Call> m_drained;
    HandOverDuplicates m_duplicates;
    QSocketNotifier* m_wake = nullptr;
    QTimer m_partialFrameCheck;
    // While set, a failure of the link is not fatal. Set and read on the
    // program's thread only.
    bool m_capturing = false;
    std::function<void(const QString&)> m_fatal;
};
