#pragma once

#include "line/LineRecovery.h"
#include "sharing/ConnectionReport.h"
#include "sharing/MqttEventQueue.h"
#include "sharing/SharingConfig.h"
#include "sharing/SocketWatch.h"

#include <QByteArray>
#include <QHostInfo>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <set>

class BrokerTls;
struct mosquitto;

// One MQTT connection (libmosquitto) driven from Qt's event loop: the
// socket is read when it has data and written only while libmosquitto has
// something to send, and libmosquitto's keepalive work runs on a timer at
// the keepalive's pace, so an idle connection costs nothing. The broker's
// name is looked up in the background and libmosquitto is given the
// address (an IP address is used as it is), so nothing of libmosquitto ever
// waits on the program's thread or reconnects by itself.
//
// A connection that cannot be made or is lost is the "no line" state of
// LineRecovery: one report when it is lost, one when it is back, and the
// tries on its schedule. Every connection is a new libmosquitto client, so
// nothing that libmosquitto held for the last one is sent again on its own:
// what must reach the broker is the owner's to keep until published() says
// the broker has it. A persistent session (for a receiver) lives on the
// broker instead: what was published for it while it was away comes when
// it is back. The password is never part of any report.
class MqttClient : public QObject
{
    Q_OBJECT
public:
    MqttClient(SharingConfig config, LineTiming timing, QObject* parent = nullptr);
    ~MqttClient() override;

    // Where the lost and back reports go; standard error by default.
    void setReport(std::function<void(const QString&)> report);
    void setNaming(ConnectionReport::Naming naming) { m_report.setNaming(naming); }
    // A session the broker keeps under this client id (clean session off),
    // with what it holds for it delivered on the next connection; empty: a
    // new session each time, under an id of libmosquitto's choice. Takes
    // effect from the next connection.
    void setPersistentSession(const QString& clientId) { m_sessionId = clientId; }
    // A message larger than this is reported by messageTooLarge() without
    // its payload ever being copied.
    void setPayloadLimit(qsizetype bytes) { m_events.setPayloadLimit(bytes); }
    // What the broker publishes (QoS 1, retained) when the connection ends
    // without a goodbye. Takes effect from the next connection.
    void setWill(const QString& topic, const QByteArray& payload);
    // Subscribed (QoS 1) on every connection.
    void setSubscriptions(const QStringList& topics);

    // Connects in the background, and again whenever the connection is
    // lost, until stop().
    void start();
    // Says goodbye to the broker when connected (no will is published) and
    // ends the connection and the tries.
    void stop();

    // Publishes at QoS 1. The message id, or -1 when there is no
    // connection or the message could not be queued; published(id) follows
    // when the broker has acknowledged it.
    int publish(const QString& topic, const QByteArray& payload, bool retain);

    bool isStarted() const { return m_on; }
    // The broker accepted the connection.
    bool isConnected() const { return m_connected; }
    // ...and acknowledged every subscription.
    bool isSubscribed() const { return m_subscribed; }
    bool isLost() const { return m_recovery.isLost(); }
    QDateTime lostAt() const { return m_recovery.lostAt(); }
    QString lastFailure() const { return m_recovery.lastFailure(); }
    // "broker:port"
    QString brokerName() const { return m_config.brokerName(); }

signals:
    void connected();
    void subscribed();
    // A connection that had been accepted is gone.
    void disconnected();
    void published(int messageId);
    // `retained`: the broker kept this message from before the
    // subscription was made.
    void messageReceived(const QString& topic, const QByteArray& payload, bool retained);
    // A message over the payload limit, of `size` bytes.
    void messageTooLarge(const QString& topic, qsizetype size, bool retained);
    // The broker turned the login down (user name, password, not allowed):
    // what the user is told, once for as long as the client lives (it tries
    // again and again).
    void refusedNotice(const QString& text);
    // Lost or back.
    void stateChanged();

private:
    void connectNow();
    void onHostFound(const QHostInfo& info);
    void openConnection(const QString& address);
    // Sets up TLS for the next connection; false after a failure.
    bool prepareTls();
    // After every libmosquitto call that can run callbacks: acts on what
    // they noted, then on the call's result.
    void afterCall(int result);
    // False when the client was destroyed meanwhile.
    bool dispatchEvents();
    void dispatch(const MqttEvent& event);
    void onAccepted();
    void fail(const QString& why);
    void teardown();
    // The watch follows libmosquitto's socket; writing is watched only
    // while libmosquitto wants to write.
    void syncNotifiers();

    SharingConfig m_config;
    LineRecovery m_recovery;
    QString m_willTopic;
    QByteArray m_willPayload;
    QStringList m_subscriptions;
    QString m_sessionId;
    ConnectionReport m_report;

    mosquitto* m_mosq = nullptr;
    std::unique_ptr<BrokerTls> m_tls;
    SocketWatch m_watch;
    QTimer m_misc;
    QTimer m_connectTimeout;
    int m_lookupId = -1;
    MqttEventQueue m_events;
    std::set<int> m_pendingSubscriptions;
    // Changes with every teardown: work that belongs to an older
    // connection stops when it sees a new one.
    quint64 m_generation = 0;
    bool m_on = false;
    bool m_connected = false;
    bool m_subscribed = false;
    bool m_dispatching = false;
    // The user has been told that the broker refuses the login.
    bool m_refusalNoticed = false;
};
