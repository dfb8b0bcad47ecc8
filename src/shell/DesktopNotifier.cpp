#include "shell/DesktopNotifier.h"

#include "calllog/ShownCaller.h"
#include "platform/Cp1252.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace {
const char* const kInterface = "org.freedesktop.Notifications";
const char* const kIconName = "no.tornholt.Ringvakt";

// What the service is told besides the text: the kind of event, the
// program, a normal urgency.
QVariantMap hintsOf(const QString& category)
{
    QVariantMap hints;
    hints.insert(QStringLiteral("category"), category);
    hints.insert(QStringLiteral("desktop-entry"), QString::fromLatin1(kIconName));
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(1)));
    return hints;
}

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
    const QString body = tr("%1\nTlf.Nummer: %2\nRinger til MSN: %3")
                             .arg(ShownCaller::name(callerName), ShownCaller::number(callerNumber),
                                  ShownCaller::number(msn));
    const bool offerAdd = numberDelivered && !inPhoneBook;
    QStringList actions;
    if (offerAdd)
        actions << QString::fromLatin1(kAddAction) << tr("-> Katalog");
    send(m_calls, {QStringLiteral("Ringvakt"), body, actions, hintsOf(QStringLiteral("call")),
                   number, offerAdd});
}

void DesktopNotifier::notifyMissedCall(const std::string& callerNumber,
                                       const std::string& callerName, bool numberDelivered,
                                       bool inPhoneBook)
{
    if (!m_bus.isConnected())
        return;
    const QString number = cp1252::toQString(callerNumber);
    const QString body = tr("%1\nTlf.Nummer: %2")
                             .arg(ShownCaller::name(callerName), ShownCaller::number(callerNumber));
    const bool offerAdd = numberDelivered && !inPhoneBook;
    QStringList actions;
    if (offerAdd)
        actions << QString::fromLatin1(kAddAction) << tr("-> Katalog");
    send(m_missed, {tr("Ubesvart anrop"), body, actions, hintsOf(QStringLiteral("call.missed")),
                    number, offerAdd});
}

void DesktopNotifier::send(Channel& channel, const Pending& next)
{
    // The id of the notification to replace comes with the service's
    // answer to the one before: a notification made before that answer is
    // here waits for it, or it would stand beside the last one instead of
    // replacing it. Only the newest waits; any before it would be replaced
    // at once.
    if (channel.inFlight || m_asking) {
        channel.waiting = next;
        return;
    }
    if (!m_capabilitiesKnown) {
        channel.waiting = next;
        askCapabilities();
        return;
    }
    QDBusMessage message =
        QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                       QString::fromLatin1(kInterface), QStringLiteral("Notify"));
    const QString body = m_bodyMarkup ? next.body.toHtmlEscaped() : next.body;
    message << QStringLiteral("Ringvakt") << channel.lastId << QString::fromLatin1(kIconName)
            << next.summary << body << next.actions << next.hints << int(-1);
    // Asynchronous: a slow or absent service never holds up the call (an
    // answer that never comes ends as an error after D-Bus's timeout).
    channel.inFlight = true;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, ch = &channel, number = next.number,
             offerAdd = next.offerAdd](QDBusPendingCallWatcher* w) {
                const QDBusPendingReply<uint> reply = *w;
                w->deleteLater();
                ch->inFlight = false;
                if (!reply.isError()) {
                    const uint id = reply.value();
                    ch->lastId = id;
                    if (offerAdd)
                        m_numbers.insert(id, number);
                    else
                        m_numbers.remove(id);
                }
                sendWaiting(*ch);
            });
}

void DesktopNotifier::sendWaiting(Channel& channel)
{
    if (!channel.waiting)
        return;
    const Pending waiting = *channel.waiting;
    channel.waiting.reset();
    send(channel, waiting);
}

void DesktopNotifier::askCapabilities()
{
    const QDBusMessage message = QDBusMessage::createMethodCall(
        QString::fromLatin1(kService), QString::fromLatin1(kPath), QString::fromLatin1(kInterface),
        QStringLiteral("GetCapabilities"));
    m_asking = true;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        const QDBusPendingReply<QStringList> reply = *w;
        w->deleteLater();
        m_asking = false;
        // Without an answer, markup stays assumed.
        m_capabilitiesKnown = true;
        if (!reply.isError())
            m_bodyMarkup = reply.value().contains(QStringLiteral("body-markup"));
        sendWaiting(m_calls);
        sendWaiting(m_missed);
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
