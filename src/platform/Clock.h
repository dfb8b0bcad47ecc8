#pragma once

#include <QtGlobal>

class QDateTime;

// The local date and time of the machine, behind an interface so that tests
// can choose the moment a call is logged.
struct LocalDateTime
{
    int year = 1970;
    int month = 1; // 1..12
    int day = 1;   // 1..31
    int hour = 0;  // 0..23
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    // The same moment as the machine's local time, and back.
    QDateTime toDateTime() const;
    static LocalDateTime fromDateTime(const QDateTime& when);
};

class Clock
{
public:
    virtual ~Clock() = default;
    // The wall clock: what a call's row and message say.
    virtual LocalDateTime now() const = 0;
    // A count of milliseconds that only ever goes forward, whatever is done
    // to the wall clock: for how long something has waited.
    virtual qint64 steadyMs() const = 0;
};

class SystemClock : public Clock
{
public:
    LocalDateTime now() const override;
    qint64 steadyMs() const override;
};
