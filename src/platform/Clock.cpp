#include "platform/Clock.h"

#include <QDateTime>
#include <chrono>

QDateTime LocalDateTime::toDateTime() const
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, millisecond));
}

LocalDateTime LocalDateTime::fromDateTime(const QDateTime& when)
{
    const QDateTime local = when.toLocalTime();
    const QDate date = local.date();
    const QTime time = local.time();

    LocalDateTime out;
    out.year = date.year();
    out.month = date.month();
    out.day = date.day();
    out.hour = time.hour();
    out.minute = time.minute();
    out.second = time.second();
    out.millisecond = time.msec();
    return out;
}

LocalDateTime SystemClock::now() const
{
    return LocalDateTime::fromDateTime(QDateTime::currentDateTime());
}

qint64 SystemClock::steadyMs() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
