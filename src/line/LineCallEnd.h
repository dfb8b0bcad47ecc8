#pragma once

#include "line/CallState.h"

#include <QMetaType>
#include <QString>

// The end of a call that a line followed after its ring (LineCall's
// connectionId), as the line hands it on.
struct LineCallEnd
{
    QString connectionId;
    // Answered, Missed, Voicemail, or Unknown when the line lost the call
    // before its end.
    CallState state = CallState::Unknown;
    // How long the call was taken, in seconds.
    int seconds = 0;
    // The extension that took it, as the line names it; empty when none did
    // or the line does not say.
    QString extension;
};

Q_DECLARE_METATYPE(LineCallEnd)
