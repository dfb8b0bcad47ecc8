#pragma once

#include <QProcess>
#include <QString>

namespace test {

// A private session bus for one test: dbus-daemon, ended with the test.
class SessionBus
{
public:
    SessionBus();
    ~SessionBus();
    // Empty when the daemon could not be started.
    QString address() const { return m_address; }

private:
    QProcess m_daemon;
    QString m_address;
};

} // namespace test
