#include "platform/Clock.h"

#include <QDateTime>

LocalDateTime SystemClock::now() const
{
    const QDateTime local = QDateTime::currentDateTime();
    const QDate date = local.date();
    const QTime time = local.time();

    LocalDateTime when;
    when.year = date.year();
    when.month = date.month();
    when.day = date.day();
    when.hour = time.hour();
    when.minute = time.minute();
    when.second = time.second();
    return when;
}
