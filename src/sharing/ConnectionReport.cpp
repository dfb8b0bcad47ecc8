#include "sharing/ConnectionReport.h"

#include "platform/Report.h"

#include <QDateTime>

namespace {

QString now()
{
    return QDateTime::currentDateTime().toString(Qt::ISODate);
}

} // namespace

ConnectionReport::ConnectionReport()
{
    m_sink = reportToStandardError;
}

void ConnectionReport::lost(const QString& broker, const QString& why, int retryDelayMs) const
{
    const QString retry = QString::number(retryDelayMs / 1000.0);
    if (m_naming == Naming::AsLine)
        m_sink(QStringLiteral("%1 line lost: MQTT broker %2: %3; trying again in %4 s")
                   .arg(now(), broker, why, retry));
    else
        m_sink(QStringLiteral("%1 MQTT broker %2 lost: %3; trying again in %4 s")
                   .arg(now(), broker, why, retry));
}

void ConnectionReport::back(const QString& broker, int tries) const
{
    if (m_naming == Naming::AsLine)
        m_sink(QStringLiteral("%1 line back after %2 tries").arg(now()).arg(tries));
    else
        m_sink(
            QStringLiteral("%1 MQTT broker %2 back after %3 tries").arg(now(), broker).arg(tries));
}
