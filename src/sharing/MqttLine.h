#pragma once

#include "line/Line.h"
#include "sharing/MqttClient.h"
#include "sharing/SharingTopics.h"

#include <QByteArray>
#include <deque>
#include <functional>
#include <utility>

// Calls that other desktops published, as the line: each received call
// message becomes a call exactly as a RING of a router's call monitor does,
// and goes through the same call processing (this desktop's MSN filter,
// phone book, sounds, log and popup).
//
// What is not handled: a desktop's own messages (it has handled those
// calls from its own line already); the last call that the broker kept
// from before the subscription (a start or a reconnect must not announce
// an old call again; the broker marks such a message as retained, while
// calls published from then on arrive unmarked); a message with its moment
// that was received just before, byte for byte (a publisher sends one again
// when the acknowledgement was lost with a connection); and a message that
// does not read as a call (one report each; the next good one is handled).
//
// Never fatal: a broker that cannot be reached or goes away is the "no
// line" state, with its tries.
class MqttLine : public Line
{
    Q_OBJECT
public:
    MqttLine(SharingConfig config, LineTiming timing, QObject* parent = nullptr);

    // Where the reports go (lost, back, ignored messages); standard error
    // by default.
    void setReport(std::function<void(const QString&)> report);

    bool startUp() override;
    // Hands on the calls that arrived, in order.
    void poll() override;
    void switchOff() override;
    void switchOn() override;
    void shutDown() override;

    bool isLineLost() const override { return m_client.isLost(); }
    QDateTime lostAt() const override { return m_client.lostAt(); }
    // "MQTT broker:port"
    QString displayName() const override;

    // Connected and subscribed: calls published from now on arrive.
    bool isReady() const { return m_client.isSubscribed(); }
    // Messages ignored because they did not read as calls.
    int refusedMessages() const { return m_refused; }

private:
    void onMessage(const QString& topic, const QByteArray& payload, bool retained);
    bool seenBefore(const QByteArray& payload);
    void report(const QString& line) const { m_report(line); }

    SharingTopics m_topics;
    MqttClient m_client;
    std::function<void(const QString&)> m_report;
    // The Calling and Called party number structs of each waiting call.
    std::deque<std::pair<QByteArray, QByteArray>> m_pending;
    // The last messages handled, to know one sent again.
    std::deque<QByteArray> m_recent;
    int m_refused = 0;
    bool m_on = false;
    bool m_refusalNoticed = false;
};
