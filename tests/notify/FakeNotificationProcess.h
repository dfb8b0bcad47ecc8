#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace test {

// The tests' notification service as a process of its own on a session bus,
// for end-to-end tests of the real program: each notification becomes a
// line of a log file. Ended with the test.
class FakeNotificationProcess
{
public:
    // Starts the service on the bus and waits until it holds the name;
    // false (and a failed test) when it does not come up.
    bool start(const QString& busAddress, const QString& log);
    ~FakeNotificationProcess();

    // The notifications so far, one line each.
    QStringList lines() const;

private:
    QProcess m_process;
    QString m_log;
};

} // namespace test
