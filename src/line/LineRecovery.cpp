#include "line/LineRecovery.h"

#include "platform/Report.h"


LineRecovery::LineRecovery(LineTiming timing, std::function<void()> retry, QObject* parent)
    : QObject(parent), m_timing(std::move(timing)), m_retry(std::move(retry))
{
    const auto fire = [this] {
        if (m_lost && m_retry)
            m_retry();
    };
    m_timer = m_timing.retryTimers ? m_timing.retryTimers->make(fire) : makeQtRetryTimer(fire);
    m_report = reportToStandardError;
}

void LineRecovery::lost(const QString& why)
{
    m_lastFailure = why;
    if (!m_lost) {
        m_lost = true;
        m_lostAt = QDateTime::currentDateTime();
        m_attempt = 0;
        m_report(QStringLiteral("%1 line lost: %2; trying again in %3 s")
                     .arg(m_lostAt.toString(Qt::ISODate), why)
                     .arg(m_timing.retryDelayMs(0) / 1000.0));
    }
    m_timer->start(m_timing.retryDelayMs(m_attempt));
    ++m_attempt;
}

void LineRecovery::back()
{
    m_timer->stop();
    if (m_lost) {
        m_report(QStringLiteral("%1 line back after %2 tries")
                     .arg(QDateTime::currentDateTime().toString(Qt::ISODate))
                     .arg(m_attempt));
    }
    m_lost = false;
    m_attempt = 0;
}

void LineRecovery::stop()
{
    m_timer->stop();
    m_lost = false;
    m_attempt = 0;
}
