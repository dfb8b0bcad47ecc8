#pragma once

#include "line/LineCall.h"
#include "line/LineCallEnd.h"

#include <QDateTime>
#include <QObject>
#include <QString>

// The telephone line the program watches, whichever kind it is: CAPI (an
// ISDN card, or a router with CAPI over TCP) or a router's call monitor.
// Each kind keeps itself connected and goes into a "no line" state of its
// own when the line goes away; the program only switches it on and off and
// handles the calls it reports.
class Line : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Start-up. False when the program cannot go on (only CAPI can say so:
    // a user who has just started the program needs to know the set-up is
    // wrong).
    virtual bool startUp() = 0;
    // A tick of the poll timer; also the moment calls that waited are
    // handed on.
    virtual void poll() = 0;
    // Entering Disabled: the line is left, no more tries.
    virtual void switchOff() = 0;
    // Leaving Disabled: connect again at once.
    virtual void switchOn() = 0;
    // The end of the program.
    virtual void shutDown() = 0;

    // True from the moment the line was lost until it is back.
    virtual bool isLineLost() const = 0;
    virtual QDateTime lostAt() const = 0;
    // How the tray names the line; empty for CAPI, the line of old.
    virtual QString displayName() const { return {}; }
    // True while work on another thread still uses the line (a
    // registration being made). The program does not wait for it at its
    // end; it ends without tearing down what that work uses.
    virtual bool backgroundWorkRunning() const { return false; }

signals:
    void stateChanged();
    // An incoming call. Emitted from poll() or from inside the line's own
    // handling; the program records it at once, whatever is being announced.
    void incomingCall(const LineCall& call);
    // The end of a call handed on with a connection id, in order with the
    // calls: after its own ring, never before.
    void callEnded(const LineCallEnd& end);
    // Calls are waiting; the program calls poll() when it is free.
    void callsWaiting();
    // Something the user should be told once, in the tray: in the language
    // of the windows. The line says it on standard error itself.
    void notice(const QString& text);
    // The work that backgroundWorkRunning() reported has ended.
    void backgroundWorkEnded();
};
