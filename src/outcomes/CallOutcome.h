#pragma once

#include "line/CallState.h"

#include <QString>
#include <string>

// What became of one logged call, kept beside its row of the call log.
struct CallOutcome
{
    CallState state = CallState::Ringing;
    // How long an answered call (or the answering machine) had it, in
    // seconds.
    int seconds = 0;
    // The extension that took it, digits only; empty when none did or the
    // line did not say.
    std::string extension;
    // A missed call the user has seen in the call log since.
    bool seen = false;
    // A shared call's own id ("<host>/<id>") while its outcome may still
    // come, after a restart too; empty for other calls.
    QString callId;

    // Worth keeping in the file: an outcome, or a call whose outcome may
    // still come under its id. (A call that rings on the router's call
    // monitor now is followed only while the connection lasts.)
    bool lasting() const
    {
        return state == CallState::Answered || state == CallState::Missed ||
               state == CallState::Voicemail || !callId.isEmpty();
    }
    // Missed and not yet seen: what the tray counts.
    bool unseenMiss() const { return state == CallState::Missed && !seen; }
};
