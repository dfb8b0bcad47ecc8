#pragma once

#include "line/LineRecovery.h"
#include "sharing/SharingConfig.h"

#include <QByteArray>
#include <QHostInfo>
#include <QObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>
#include <set>

struct mosquitto;
struct mosquitto_message;

// One MQTT connection (libmosquitto) driven from Qt's event loop: the
// socket is read when it has data and written only while libmosquitto has
// something to send, and libmosquitto's keepalive work runs on a timer at
// the keepalive's pace, so an idle connection costs nothing. The broker's
// name is looked up without blocking, and nothing of libmosquitto ever
// waits or reconnects by itself.
//
// A connection that cannot be made or is lost is the "no line" state of
// LineRecovery: one report when it is lost, one when it is back, and the
// tries on its schedule. Every connection is a new libmosquitto client with
// a clean session, so nothing that libmosquitto held for the last one is
// sent again on its own: what must reach the broker is the owner's to keep
// until published() says the broker has it. The password is never part of
// any report.
class MqttClient : public QObject
{
    Q_OBJECT
public:
    MqttClient(SharingConfig config, LineTiming timing, QObject* parent = nullptr);
    ~MqttClient() override;

    // Where the lost and back reports go; standard error by default.
    void setReport(std::function<void(const QString&)> report);
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
    // The broker turned the login down (user name, password, not allowed).
    void refused(const QString& why);
    // Lost or back.
    void stateChanged();

private:
    // What libmosquitto reported from inside one of its calls. Callbacks
    // only note these; they are acted on once libmosquitto has returned, so
    // that nothing the owner does in a slot runs inside libmosquitto.
    struct Event
    {
        enum class Kind
        {
            Connect,
            Disconnect,
            Publish,
            Subscribe,
            Message
        };
        explicit Event(Kind k) : kind(k) {}

        Kind kind;
        // The libmosquitto result, or the message id.
        int code = 0;
        // errno as the callback saw it, for a result that is a system error.
        int savedErrno = 0;
        QString topic;
        QByteArray payload;
        bool retained = false;
        // A subscription the broker turned down.
        bool refused = false;
    };

    static void onConnectCallback(mosquitto*, void* self, int code);
    static void onDisconnectCallback(mosquitto*, void* self, int code);
    static void onPublishCallback(mosquitto*, void* self, int messageId);
    static void onSubscribeCallback(mosquitto*, void* self, int messageId, int count,
                                    const int* grantedQos);
    static void onMessageCallback(mosquitto*, void* self, const mosquitto_message* message);

    void connectNow();
    void onHostFound(const QHostInfo& info);
    void openConnection(const QString& target);
    // After every libmosquitto call that can run callbacks: acts on what
    // they noted, then on the call's result.
    void afterCall(int result);
    // False when the client was destroyed meanwhile.
    bool dispatchEvents();
    void onAccepted();
    void fail(const QString& why);
    void teardown();
    // Notifiers follow libmosquitto's socket; writing is watched only while
    // libmosquitto wants to write.
    void syncNotifiers();
    void dropNotifiers();

    SharingConfig m_config;
    LineRecovery m_recovery;
    QString m_willTopic;
    QByteArray m_willPayload;
    QStringList m_subscriptions;

    mosquitto* m_mosq = nullptr;
    int m_socket = -1;
    QPointer<QSocketNotifier> m_readNotifier;
    QPointer<QSocketNotifier> m_writeNotifier;
    QTimer m_misc;
    QTimer m_connectTimeout;
    int m_lookupId = -1;
    std::deque<Event> m_events;
    std::set<int> m_pendingSubscriptions;
    // Changes with every teardown: work that belongs to an older
    // connection stops when it sees a new one.
    quint64 m_generation = 0;
    bool m_on = false;
    bool m_connected = false;
    bool m_subscribed = false;
    bool m_dispatching = false;
};
