#include "FakeNotificationServer.h"

#include <QDBusMessage>
#include <QFile>

namespace test {

FakeNotificationServer::FakeNotificationServer(const QDBusConnection& bus, QString logFile)
    : m_bus(bus), m_logFile(std::move(logFile))
{
    new NotificationsAdaptor(this);
    new ControlAdaptor(this);
    m_registered = m_bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this) &&
                   m_bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
}

uint FakeNotificationServer::notify(const NotifyCall& c)
{
    NotifyCall call = c;
    call.id = call.replacesId != 0 ? call.replacesId : m_nextId++;
    m_calls.push_back(call);
    if (!m_logFile.isEmpty()) {
        QFile log(m_logFile);
        if (log.open(QIODevice::WriteOnly | QIODevice::Append)) {
            QString body = call.body;
            body.replace(QLatin1Char('\n'), QLatin1Char('|'));
            const QString line =
                QStringLiteral("id=%1 replaces=%2 summary=%3 category=%4 "
                               "icon=%5 actions=%6 body=%7\n")
                    .arg(call.id)
                    .arg(call.replacesId)
                    .arg(call.summary, call.hints.value(QStringLiteral("category")).toString(),
                         call.icon, call.actions.join(QLatin1Char(',')), body);
            log.write(line.toUtf8());
        }
    }
    return call.id;
}

void FakeNotificationServer::closeNotification(uint id)
{
    QDBusMessage signal = QDBusMessage::createSignal(
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("NotificationClosed"));
    signal << id << uint(3);
    m_bus.send(signal);
}

void FakeNotificationServer::invokeAction(uint id, const QString& key)
{
    QDBusMessage signal = QDBusMessage::createSignal(
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("ActionInvoked"));
    signal << id << key;
    m_bus.send(signal);
}

NotificationsAdaptor::NotificationsAdaptor(FakeNotificationServer* server)
    : QDBusAbstractAdaptor(server), m_server(server)
{}

uint NotificationsAdaptor::Notify(const QString& appName, uint replacesId, const QString& icon,
                                  const QString& summary, const QString& body,
                                  const QStringList& actions, const QVariantMap& hints, int timeout)
{
    return m_server->notify({appName, replacesId, icon, summary, body, actions, hints, timeout, 0});
}

void NotificationsAdaptor::CloseNotification(uint id)
{
    m_server->closeNotification(id);
}

QStringList NotificationsAdaptor::GetCapabilities()
{
    QStringList capabilities{QStringLiteral("actions"), QStringLiteral("body")};
    if (m_server->bodyMarkup())
        capabilities << QStringLiteral("body-markup");
    return capabilities;
}

QString NotificationsAdaptor::GetServerInformation(QString& vendor, QString& version,
                                                   QString& specVersion)
{
    vendor = QStringLiteral("Ringvakt tests");
    version = QStringLiteral("1");
    specVersion = QStringLiteral("1.2");
    return QStringLiteral("fake-notifications");
}

ControlAdaptor::ControlAdaptor(FakeNotificationServer* server)
    : QDBusAbstractAdaptor(server), m_server(server)
{}

void ControlAdaptor::InvokeAction(uint id, const QString& key)
{
    m_server->invokeAction(id, key);
}

} // namespace test
