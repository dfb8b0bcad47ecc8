#pragma once

#include "line/CallState.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>
#include <string_view>

// One handled call as it is shared over MQTT: a compact JSON object in
// UTF-8,
//   {"id": "1b4e28ba-2fa1-11d2-883f-0016d3cca427",
//    "time": "2026-12-07T17:20:53.120+01:00", "date": "07-Des-2026",
//    "clock": "17:20:53", "msn": "7654321", "number": "0212345678",
//    "name": "Kari Hansen", "known": true, "numberDelivered": true,
//    "line": "capi", "host": "kontor", "state": "answered",
//    "duration": 135, "extension": "1"}
// "id" is the call's own: the same call sent again carries the same id, and
// no other call has it. "state" is there when the line follows the call
// after its ring: "ringing" as it rings, then the message is sent again with
// the same id and "answered", "missed" or "voicemail", the length in seconds
// ("duration") and the extension that took it ("extension", when known). "time" is the moment of
// the call's row, to the millisecond; "date" and "clock" are the call log's forms of it. A number
// that was not delivered, an unknown MSN and an unknown name are empty
// texts, never the words the windows show for them.
struct CallMessage
{
    // The kinds of line a call comes from.
    static const QString kLineCapi;
    static const QString kLineCallMonitor;
    static const QString kLineMqtt;

    // A message larger than this is refused unread.
    static constexpr qsizetype kMaxSize = 4096;
    // An id longer than this is refused.
    static constexpr qsizetype kMaxIdLength = 128;
    // A longer call than this (a year) is no call: its length is not taken.
    static constexpr int kMaxDuration = 366 * 24 * 3600;

    // True when the message tells the end of a call (answered, missed,
    // voicemail) rather than its ring.
    bool isOutcome() const;

    // Empty in a message of a publisher that gives none.
    QString id;
    QDateTime time;
    QString msn;
    QString number;
    // The caller in the sending desktop's phone book.
    QString name;
    bool known = false;
    bool numberDelivered = false;
    QString line;
    QString host;
    // What became of the call; none for a call of a line that cannot follow
    // it. Never Unknown: a call whose end was not heard is not sent again.
    std::optional<CallState> state;
    // With an outcome: the length in seconds, and the extension that took
    // the call (empty when none did or the line does not say).
    int duration = 0;
    QString extension;

    // A call as call processing saw it, with a new id: the texts are code
    // page 1252 bytes as the call log keeps them, "Ukjent nummer" and "???"
    // included (they become empty texts when nothing was delivered or
    // found).
    static CallMessage fromCall(const QDateTime& when, std::string_view msn,
                                std::string_view callerNumber, bool numberDelivered,
                                std::string_view callerName, bool inPhoneBook, QString line,
                                QString host);

    QByteArray toJson() const;

    // A message received from the network, read strictly. Refused (nullopt
    // and the reason in `why`): more than kMaxSize bytes, not a JSON object,
    // no "number", a number or MSN that is not a text or that a router's
    // call monitor would refuse, an id that is not a text of at most
    // kMaxIdLength characters. A "state" of another word than those above
    // (or "unknown") is taken as none; a "duration" that is not a whole
    // number of seconds as 0; an "extension" that is no number as none.
    // Fields that call handling does not need
    // are taken when they are there and of the right type, and left at
    // their defaults otherwise. The number decides whether one was
    // delivered: an empty one is none.
    static std::optional<CallMessage> parse(const QByteArray& bytes, QString* why);
};
