#pragma once

#include "calls/IncomingCall.h"
#include "outcomes/OutcomeTracker.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <optional>

// Announces calls through the desktop's notification service
// (org.freedesktop.Notifications on the session bus), for desktops where a
// tray and a placed, raised popup cannot be had. Each call's notification
// replaces the previous one. A caller whose number was delivered but is not
// in the phone book gets the action "-> Katalog", which does what the
// popup's button does. Nothing here waits: every call to the service is
// asynchronous, and without a service there is simply no notification.
// The text is shown as text: on a service that reads markup in the body,
// a name such as "Hansen & Sønn" or one with a tag in it is escaped. A
// missed call is told the same way, as "Ubesvart anrop": each such
// notification replaces the missed call's before it, and stands beside the
// calls that ring, which neither replace it nor are replaced by it.
class DesktopNotifier : public QObject, public CallNotifier, public MissedCallNotifier
{
    Q_OBJECT
public:
    static constexpr const char* kService = "org.freedesktop.Notifications";
    static constexpr const char* kPath = "/org/freedesktop/Notifications";
    static constexpr const char* kAddAction = "add-to-phone-book";

    // On the session bus, or on a given connection (tests).
    explicit DesktopNotifier(QObject* parent = nullptr);
    DesktopNotifier(const QDBusConnection& bus, QObject* parent = nullptr);

    void notifyCall(const std::string& callerNumber, const std::string& msn,
                    const std::string& callerName, bool numberDelivered, bool inPhoneBook) override;
    void notifyMissedCall(const std::string& callerNumber, const std::string& callerName,
                          bool numberDelivered, bool inPhoneBook) override;

    // The id the service gave the last notification of a ringing call (0
    // before one).
    uint lastId() const { return m_calls.lastId; }

signals:
    // "-> Katalog" was chosen in the notification of this number.
    void addToPhoneBook(const QString& number);

private slots:
    void onActionInvoked(uint id, const QString& action);
    void onClosed(uint id, uint reason);

private:
    // A notification on its way to the service.
    struct Pending
    {
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        QString number;
        bool offerAdd = false;
    };
    // The notifications of one kind, each replacing the one before it.
    struct Channel
    {
        uint lastId = 0;
        bool inFlight = false;
        std::optional<Pending> waiting;
    };
    void send(Channel& channel, const Pending& next);
    void sendWaiting(Channel& channel);
    // Asks whether the service reads markup in the body; the first
    // notifications wait for the answer.
    void askCapabilities();

    QDBusConnection m_bus;
    Channel m_calls;
    Channel m_missed;
    bool m_asking = false;
    // Until the service says otherwise, markup is assumed: escaped text on
    // a service without it only shows an entity, while raw text on one with
    // it can be broken or carry a link.
    bool m_bodyMarkup = true;
    bool m_capabilitiesKnown = false;
    // The numbers of notifications that offer "-> Katalog", by id.
    QHash<uint, QString> m_numbers;
};
