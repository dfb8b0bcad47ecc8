#pragma once

#include "capi/CapiLink.h"
#include "line/Line.h"
#include "line/LineRecovery.h"
#include "line/LineTiming.h"

#include <atomic>
#include <functional>
#include <thread>

// Keeps the program on its CAPI line once it has started. A router
// restarts, a network drops, a CAPI service is switched off: losing the line
// is then not the end of the program but the "no line" state, from which it
// tries again (LineRecovery). Only the start-up registration (the user has
// just started the program and needs to know the set-up is wrong) and a
// listen request the line refuses remain fatal.
//
// The registration after each call and every try run on a worker thread, so
// that a line that accepts a connection and then says nothing cannot freeze
// the windows; the link is touched by one thread at a time: the worker while
// a registration is being made, the program's thread otherwise.
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

    LineKeeper(CapiLink& link, LineTiming timing, Execution execution = Execution::Thread,
               QObject* parent = nullptr);
    // Waits for a registration in progress (it is bounded by the call
    // limit) and releases what it made.
    ~LineKeeper() override;

    // What a fatal failure does (the program: the "FEIL" box, exit code 1).
    void setFatalHandler(std::function<void(const QString&)> handler);
    // Where the changes of state are reported (one line each); standard
    // error by default.
    void setReport(std::function<void(const QString&)> report);

    // Start-up: register and listen now. A failure is fatal. False after one.
    bool startUp() override;
    // A tick of the poll timer: one message, when the line is up.
    void poll() override;
    // Entering Disabled: no more tries; the registration is released.
    void switchOff() override;
    // Leaving Disabled: try at once.
    void switchOn() override;
    // The end of the program: release if registered; nothing is waited for
    // but a registration already in progress.
    void shutDown() override;

    bool isLineLost() const override { return m_recovery.isLost(); }
    QDateTime lostAt() const override { return m_recovery.lostAt(); }

    State state() const { return m_state; }
    // The reason of the last failure, for the report.
    QString lastFailure() const { return m_recovery.lastFailure(); }
    // The number of tries since the line was lost.
    int attempts() const { return m_recovery.attempts(); }

private:
    void onRenewal(CapiLink::Renewal renewal);
    void startAttempt(bool releaseFirst);
    // The registration itself; runs on the worker.
    bool registerAndListen(bool releaseFirst, QString* failure);
    void attemptFinished(bool ok, const QString& failure);
    void lose(const QString& why);
    void setState(State state);
    void releaseQuietly();
    void joinWorker();

    CapiLink& m_link;
    Execution m_execution;
    LineRecovery m_recovery;
    State m_state = State::Off;
    bool m_shutDown = false;
    std::thread m_worker;
    // While set, a failure of the link is a failed try, not the end.
    std::atomic<bool> m_capturing{false};
    QString m_capturedFailure;
    std::function<void(const QString&)> m_fatal;
};
