#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <vector>

namespace test {

// What a Notify call carried.
struct NotifyCall
{
    QString appName;
    uint replacesId = 0;
    QString icon;
    QString summary;
    QString body;
    QStringList actions;
    QVariantMap hints;
    int timeout = 0;
    uint id = 0; // the id given back
};

// A desktop's notification service, small enough for tests: it takes the
// name org.freedesktop.Notifications on a bus, records every Notify call
// (also as lines in a file, when given one, for tests in another process)
// and can play the user choosing an action.
class FakeNotificationServer : public QObject
{
    Q_OBJECT
public:
    FakeNotificationServer(const QDBusConnection& bus, QString logFile = {});
    bool isRegistered() const { return m_registered; }

    const std::vector<NotifyCall>& calls() const { return m_calls; }
    // Whether the service says it reads markup in the body ("body-markup").
    void setBodyMarkup(bool on) { m_bodyMarkup = on; }
    bool bodyMarkup() const { return m_bodyMarkup; }
    // Sends ActionInvoked for a notification, as a user's click does.
    void invokeAction(uint id, const QString& key);

    // The service's methods (called through the adaptor).
    uint notify(const NotifyCall& call);
    void closeNotification(uint id);

private:
    QDBusConnection m_bus;
    QString m_logFile;
    bool m_registered = false;
    uint m_nextId = 1;
    bool m_bodyMarkup = false;
    std::vector<NotifyCall> m_calls;
};

class NotificationsAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit NotificationsAdaptor(FakeNotificationServer* server);

public slots:
    uint Notify(const QString& appName, uint replacesId, const QString& icon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int timeout);
    void CloseNotification(uint id);
    QStringList GetCapabilities();
    QString GetServerInformation(QString& vendor, QString& version, QString& specVersion);

private:
    FakeNotificationServer* m_server;
};

// Lets another process play the user: InvokeAction(id, key).
class ControlAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "test.ringvakt.NotificationControl")
public:
    explicit ControlAdaptor(FakeNotificationServer* server);

public slots:
    void InvokeAction(uint id, const QString& key);

private:
    FakeNotificationServer* m_server;
};

} // namespace test
