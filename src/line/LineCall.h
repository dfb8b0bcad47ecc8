#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QMetaType>

// One incoming call as a line hands it on.
struct LineCall
{
    // The Calling party number and Called party number structs (a length
    // octet, then the octets), as a CONNECT_IND carries them.
    QByteArray callingNumber;
    QByteArray calledNumber;
    // When the call rang, for a line that knows (a call shared by another
    // desktop carries its moment); invalid: the moment it is handed on.
    QDateTime rangAt;
    // False for a call that is to be recorded only: it rang too long ago to
    // be announced as ringing now.
    bool announce = true;
};

Q_DECLARE_METATYPE(LineCall)
