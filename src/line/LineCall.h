#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <cstddef>
#include <string_view>

// One incoming call as a line hands it on.
struct LineCall
{
    // A number that a line carrying numbers as text (the router's call
    // monitor, another desktop's message) may hand on has at most this many
    // characters: its length octet in a struct must stay below 128.
    static constexpr std::size_t kMaxTextNumber = 125;

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
    // The line follows this call after its ring: its end comes as
    // Line::callEnded with this id. Empty: the line cannot follow it (a CAPI
    // line ignores the call, and hears nothing of it again).
    QString connectionId = {};
    // True when the id names the call for good (a shared call's own id), so
    // that its end may still come after a restart; false when it names it
    // only while the line's connection lasts (a router reuses its ids).
    bool lastingId = false;

    // True when the text is a telephone number such a line may hand on: at
    // most kMaxTextNumber of the characters 0-9, '+', '#' and '*'. Empty is
    // "no number" and is accepted.
    static bool isTextNumber(std::string_view text);
    // A call of numbers given as text (checked with isTextNumber), in the
    // structs a CONNECT_IND carries, so that it goes through exactly the same
    // call processing; an empty caller is no number delivered.
    static LineCall fromTextNumbers(std::string_view caller, std::string_view called);
};

Q_DECLARE_METATYPE(LineCall)
