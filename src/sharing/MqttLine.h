#pragma once

#include "line/Line.h"
#include "line/RetryTimer.h"
#include "sharing/MqttClient.h"
#include "sharing/SharingTopics.h"

#include <QByteArray>
#include <QSet>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

class Clock;

// Calls that other desktops published, as the line: each received call
// message becomes a call exactly as a RING of a router's call monitor does,
// and goes through the same call processing (this desktop's MSN filter,
// phone book, sounds, log and popup). A call that its desktop follows
// ("state": "ringing") carries "<host>/<id>" as its connection id, and the
// message sent again with its outcome becomes the call's end.
//
// The broker keeps a session for this desktop: calls published while it was
// off or away are delivered when it is back. A call is recorded at the time
// in its message when that lies within the last day and not more than a
// minute ahead of this machine's clock (otherwise at its arrival), and one
// that rang more than two minutes before it arrived is recorded, not
// announced.
//
// The calls are handed on one per wake, so that a flood of messages never
// holds the program; at most kMaxWaiting wait, and the oldest goes when
// more come (one report for all that went).
//
// What is not handled: a desktop's own messages (it has handled those
// calls from its own line already); the last call that the broker kept
// from before the subscription (a start or a reconnect must not record an
// old call again; the broker marks such a message as retained, while calls
// published from then on arrive unmarked); a call whose id was handled
// before (a publisher sends one again when the acknowledgement was lost
// with a connection); and a message that does not read as a call. Those
// are reported at most once a minute, with a count.
//
// Never fatal: a broker that cannot be reached or goes away is the "no
// line" state, with its tries.
class MqttLine : public Line
{
    Q_OBJECT
public:
    static constexpr int kMaxWaiting = 100;

    MqttLine(SharingConfig config, LineTiming timing, QObject* parent = nullptr);
    ~MqttLine() override;

    // Where the reports go (lost, back, ignored and dropped messages);
    // standard error by default.
    void setReport(std::function<void(const QString&)> report);
    // The clock the calls' times are compared with; the system's by
    // default.
    void setClock(const Clock& clock) { m_clock = &clock; }

    bool startUp() override;
    // Hands on the oldest call waiting; wakes the program again while more
    // wait.
    void poll() override;
    void switchOff() override;
    void switchOn() override;
    void shutDown() override;

    bool isLineLost() const override { return m_client.isLost(); }
    QDateTime lostAt() const override { return m_client.lostAt(); }
    // "MQTT broker:port"
    QString displayName() const override;

    // For tests, which wait for the line and count what it ignored:
    // connected and subscribed (calls published from now on arrive), and
    // the messages ignored because they did not read as calls.
    bool isReady() const { return m_client.isSubscribed(); }
    int refusedMessages() const { return m_refused; }
    // Calls received and not yet handed on.
    int waiting() const { return int(m_pending.size()); }
    // Calls dropped since the start because too many waited.
    int dropped() const { return m_droppedTotal; }

private:
    void onMessage(const QString& topic, const QByteArray& payload, bool retained);
    void onTooLarge(const QString& topic, qsizetype size, bool retained);
    // A live call message of another desktop that this one takes.
    bool isForeignCall(const QString& topic, bool retained, QString* host) const;
    // True when the message of this kind (a ring, or an outcome) for the
    // call was handled before.
    bool seenBefore(const QString& kind, const QString& host, const QString& id);
    // A call, or the end of one (with `end`).
    struct Received
    {
        LineCall call;
        std::optional<LineCallEnd> end;
    };
    void queue(Received received);
    void refuse(const QString& topic, const QString& why);
    void reportRefusals();
    void reportDropped(const QString& why);
    void report(const QString& line) const { m_report(line); }

    SharingTopics m_topics;
    MqttClient m_client;
    const Clock* m_clock;
    std::function<void(const QString&)> m_report;
    std::deque<Received> m_pending;
    // Dropped since the last report, and since the start.
    int m_dropped = 0;
    int m_droppedTotal = 0;
    // The messages handled lately, as "<kind>/<host>/<id>", oldest first.
    std::deque<QString> m_recentIds;
    QSet<QString> m_knownIds;
    int m_refused = 0;
    // Refused since the last report, and the last of them.
    int m_refusedUnreported = 0;
    QString m_lastRefusal;
    // Runs for a minute after each report of refused messages.
    std::unique_ptr<RetryTimer> m_refusalWindow;
    bool m_on = false;
};
