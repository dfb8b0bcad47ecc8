#include "shell/DesktopNotifier.h"

#include "platform/Cp1252.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace {
const char* const kInterface = "org.freedesktop.Notifications";
const char* const kIconName = "no.tornholt.Ringvakt";
} // namespace

DesktopNotifier::DesktopNotifier(QObject* parent)
    : DesktopNotifier(QDBusConnection::sessionBus(), parent)
{}

DesktopNotifier::DesktopNotifier(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_bus(bus)
{
    if (!m_bus.isConnected())
        return;
    m_bus.connect(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                  QString::fromLatin1(kInterface), QStringLiteral("ActionInvoked"), this,
                  SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                  QString::fromLatin1(kInterface), QStringLiteral("NotificationClosed"), this,
                  SLOT(onClosed(uint, uint)));
}

void DesktopNotifier::notifyCall(const std::string& callerNumber, const std::string& msn,
                                 const std::string& callerName, bool numberDelivered,
                                 bool inPhoneBook)
{
    if (!m_bus.isConnected())
        return;
    const QString number = cp1252::toQString(callerNumber);
    // The body is escaped when it is sent, once the service's way of
    // reading it is known.
    const QString body = QStringLiteral("%1\nTlf.Nummer: %2\nRinger til MSN: %3")
                             .arg(cp1252::toQString(callerName), number, cp1252::toQString(msn));
    const bool offerAdd = numberDelivered && !inPhoneBook;
    QStringList actions;
    if (offerAdd)
        actions << QString::fromLatin1(kAddAction) << QStringLiteral("-> Katalog");
    QVariantMap hints;
    hints.insert(QStringLiteral("category"), QStringLiteral("call"));
    hints.insert(QStringLiteral("desktop-entry"), QString::fromLatin1(kIconName));
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(1)));

    send({body, actions, hints, number, offerAdd});
}

void DesktopNotifier::send(const Pending& next)
{
    // The id of the notification to replace comes with the service's
    // answer to the one before: a call announced before that answer is
    // here waits for it, or it would stand beside the last one instead of
    // replacing it. Only the newest waits; any before it would be replaced
    // at once.
    if (m_inFlight) {
        m_waiting = next;
        return;
    }
    if (!m_capabilitiesKnown) {
        m_waiting = next;
        askCapabilities();
        return;
    }
    QDBusMessage message =
        QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                       QString::fromLatin1(kInterface), QStringLiteral("Notify"));
    const QString body = m_bodyMarkup ? next.body.toHtmlEscaped() : next.body;
    message << QStringLiteral("Ringvakt") << m_lastId << QString::fromLatin1(kIconName)
            << QStringLiteral("Ringvakt") << body << next.actions << next.hints << int(-1);
    // Asynchronous: a slow or absent service never holds up the call (an
    // answer that never comes ends as an error after D-Bus's timeout).
    m_inFlight = true;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, number = next.number, offerAdd = next.offerAdd](QDBusPendingCallWatcher* w) {
                const QDBusPendingReply<uint> reply = *w;
                w->deleteLater();
                m_inFlight = false;
                if (!reply.isError()) {
                    const uint id = reply.value();
                    m_lastId = id;
                    if (offerAdd)
                        m_numbers.insert(id, number);
                    else
                        m_numbers.remove(id);
                }
                if (m_waiting) {
                    const Pending waiting = *m_waiting;
                    m_waiting.reset();
                    send(waiting);
                }
            });
}

void DesktopNotifier::askCapabilities()
{
    const QDBusMessage message = QDBusMessage::createMethodCall(
        QString::fromLatin1(kService), QString::fromLatin1(kPath), QString::fromLatin1(kInterface),
        QStringLiteral("GetCapabilities"));
    m_inFlight = true;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        const QDBusPendingReply<QStringList> reply = *w;
        w->deleteLater();
        m_inFlight = false;
        // Without an answer, markup stays assumed.
        m_capabilitiesKnown = true;
        if (!reply.isError())
            m_bodyMarkup = reply.value().contains(QStringLiteral("body-markup"));
        if (m_waiting) {
            const Pending waiting = *m_waiting;
            m_waiting.reset();
            send(waiting);
        }
    });
}

void DesktopNotifier::onActionInvoked(uint id, const QString& action)
{
    if (action != QLatin1String(kAddAction) || !m_numbers.contains(id))
        return;
    emit addToPhoneBook(m_numbers.value(id));
}

void DesktopNotifier::onClosed(uint id, uint reason)
{
    Q_UNUSED(reason);
    m_numbers.remove(id);
}
