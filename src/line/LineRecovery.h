#pragma once

#include "line/LineTiming.h"
#include "line/RetryTimer.h"

#include <QDateTime>
#include <QObject>
#include <functional>
#include <memory>

// The "no line" state shared by every kind of line: the moment it was lost,
// the tries after 1, 2, 4, 8, 16 and then every 30 seconds, and one line on
// standard error for each change (lost, back), so that a user finds it in
// the journal.
class LineRecovery : public QObject
{
    Q_OBJECT
public:
    // `retry` runs when the next try is due.
    LineRecovery(LineTiming timing, std::function<void()> retry, QObject* parent = nullptr);

    // Where the changes are reported; standard error by default.
    void setReport(std::function<void(const QString&)> report) { m_report = std::move(report); }

    // The line is gone (or a try failed): the first time this is reported
    // and the time kept; every time the next try is scheduled.
    void lost(const QString& why);
    // The line is back: reported when it had been lost; the tries end.
    void back();
    // No more tries and no lost line (the line was left on purpose).
    void stop();

    bool isLost() const { return m_lost; }
    QDateTime lostAt() const { return m_lostAt; }
    QString lastFailure() const { return m_lastFailure; }
    // Tries since the line was lost.
    int attempts() const { return m_attempt; }
    bool retryPending() const { return m_timer->isActive(); }
    const LineTiming& timing() const { return m_timing; }

private:
    LineTiming m_timing;
    std::function<void()> m_retry;
    std::function<void(const QString&)> m_report;
    std::unique_ptr<RetryTimer> m_timer;
    bool m_lost = false;
    QDateTime m_lostAt;
    QString m_lastFailure;
    int m_attempt = 0;
};
