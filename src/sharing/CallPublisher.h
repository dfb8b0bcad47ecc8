#pragma once

#include "sharing/CallMessage.h"
#include "sharing/MqttClient.h"
#include "sharing/SharingTopics.h"

#include <QObject>
#include <deque>
#include <functional>

// Publishes this desktop's calls to the broker: each call retained at QoS 1
// on <prefix>/<host>/call, the desktop's presence on <prefix>/<host>/status
// ("online" while connected, "offline" as the connection's will and at the
// end), the missed calls not yet seen on <prefix>/<host>/missed, and, when
// asked, Home Assistant's discovery of the "Siste anrop" and "Ubesvarte
// anrop" sensors.
//
// A call's message is sent again with its outcome. The broker keeps one
// message on the call topic, which stands for the last call: the outcome of
// an earlier call, which comes after a later call rang, is published
// without being kept, so that it does not take the later call's place.
//
// A call is kept until the broker has acknowledged it. While the broker is
// away the last kMaxWaiting calls wait and are published in order when it is
// back; older ones are dropped and counted in one report. Calls sent on a
// connection that is up are not counted against that bound, however many
// come at once. A call is sent once per connection: libmosquitto's own
// copies end with the connection they were made for, and only those the
// broker never acknowledged are sent again on the next one, with the same
// id, so that receivers know them.
class CallPublisher : public QObject
{
    Q_OBJECT
public:
    static constexpr int kMaxWaiting = 100;

    CallPublisher(SharingConfig config, LineTiming timing, QObject* parent = nullptr);
    ~CallPublisher() override;

    // Where the reports go (lost, back, dropped calls); standard error by
    // default.
    void setReport(std::function<void(const QString&)> report);

    void start();
    // Says "offline" and leaves the broker; calls that were never sent are
    // lost, and they and the calls sent without an acknowledgement yet are
    // reported.
    void stop();

    // Publishes a call as soon as the broker can take it. False, and
    // nothing published, for a call that came over MQTT: a received call
    // is never passed on again.
    bool publish(const CallMessage& call);
    // The missed calls not yet seen on this desktop; published at once and
    // on every connection.
    void setMissedCount(int count);

    // Calls the broker has not yet acknowledged.
    int waiting() const { return int(m_waiting.size()); }
    // Calls dropped since the start because too many waited for the broker.
    int dropped() const { return m_dropped; }
    bool isConnected() const { return m_client.isConnected(); }
    bool isLost() const { return m_client.isLost(); }
    QDateTime lostAt() const { return m_client.lostAt(); }
    QString brokerName() const { return m_client.brokerName(); }
    const SharingTopics& topics() const { return m_topics; }

signals:
    // Lost or back.
    void stateChanged();
    // Something the user should be told once, in the tray.
    void notice(const QString& text);

private:
    struct Waiting
    {
        QByteArray payload;
        bool retained = true;
        // The id of its publication on the present connection; -1 when it
        // has not been sent on it.
        int messageId = -1;
    };

    void onConnected();
    void onPublished(int messageId);
    void onDisconnected();
    void sendWaiting();
    // Drops the oldest calls not sent while more than kMaxWaiting are.
    void keepBound();
    void reportDropped();

    SharingConfig m_config;
    SharingTopics m_topics;
    MqttClient m_client;
    std::function<void(const QString&)> m_report;
    std::deque<Waiting> m_waiting;
    int m_dropped = 0;
    int m_droppedUnreported = 0;
    // The id of the last call that rang.
    QString m_latestId;
    // -1 until told.
    int m_missedCount = -1;
};
