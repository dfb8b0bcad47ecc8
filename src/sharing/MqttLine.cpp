#include "sharing/MqttLine.h"

#include "platform/Clock.h"
#include "platform/Report.h"
#include "sharing/CallMessage.h"

namespace {

// Enough to know a call sent again: a publisher sends again what the
// broker had not acknowledged when its connection went, at most its last
// hundred calls and those on their way.
constexpr int kRecentIds = 1000;
// A topic named in a report is cut to this length.
constexpr qsizetype kMaxReportedTopic = 120;
constexpr int kRefusalReportMs = 60 * 1000;

// How a received call's own time is taken.
constexpr qint64 kMaxAgeMs = 24 * 3600 * 1000;
constexpr qint64 kMaxAheadMs = 60 * 1000;
constexpr qint64 kMaxAnnouncedAgeMs = 2 * 60 * 1000;

// A topic from the network as a report may show it: control characters
// would garble the terminal or the journal.
QString printable(const QString& text)
{
    QString out = text.left(kMaxReportedTopic);
    for (QChar& c : out) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char('?');
    }
    return text.size() > kMaxReportedTopic ? out + QStringLiteral("...") : out;
}

QString receivedCallsWere(int count)
{
    return count == 1 ? QStringLiteral("1 received call was")
                      : QStringLiteral("%1 received calls were").arg(count);
}

QString tooManyWaited()
{
    return QStringLiteral("more than %1 waited to be recorded").arg(MqttLine::kMaxWaiting);
}

const Clock& systemClock()
{
    static const SystemClock clock;
    return clock;
}

} // namespace

MqttLine::MqttLine(SharingConfig config, LineTiming timing, QObject* parent)
    : Line(parent), m_topics(config), m_client(config, timing), m_clock(&systemClock())
{
    m_report = reportToStandardError;
    const auto fire = [this] { reportRefusals(); };
    m_refusalWindow = timing.retryTimers ? timing.retryTimers->make(fire) : makeQtRetryTimer(fire);

    // The session is this desktop's, under its prefix: the broker keeps
    // what is published for it while it is away.
    m_client.setPersistentSession(m_topics.prefix() + QLatin1Char('/') + m_topics.hostName() +
                                  QStringLiteral("/line"));
    m_client.setSubscriptions({m_topics.callSubscription()});
    m_client.setPayloadLimit(CallMessage::kMaxSize);
    connect(&m_client, &MqttClient::messageReceived, this, &MqttLine::onMessage);
    connect(&m_client, &MqttClient::messageTooLarge, this, &MqttLine::onTooLarge);
    connect(&m_client, &MqttClient::stateChanged, this, &MqttLine::stateChanged);
    connect(&m_client, &MqttClient::refusedNotice, this, &MqttLine::notice);
}

MqttLine::~MqttLine() = default;

void MqttLine::setReport(std::function<void(const QString&)> report)
{
    m_report = report;
    m_client.setReport(std::move(report));
}

QString MqttLine::displayName() const
{
    return QStringLiteral("MQTT %1").arg(m_client.brokerName());
}

bool MqttLine::startUp()
{
    switchOn();
    return true;
}

void MqttLine::switchOn()
{
    if (m_on)
        return;
    m_on = true;
    m_client.start();
}

void MqttLine::switchOff()
{
    m_on = false;
    m_client.stop();
    reportDropped(tooManyWaited());
    // Received, acknowledged to the broker and not recorded: they are
    // gone, and the user is told.
    m_dropped = int(m_pending.size());
    m_pending.clear();
    reportDropped(QStringLiteral("the line was left before they were recorded"));
    reportRefusals();
    m_refusalWindow->stop();
    emit stateChanged();
}

void MqttLine::shutDown()
{
    switchOff();
}

void MqttLine::poll()
{
    // One call per wake, in the order they arrived: whatever else the
    // program has to do (a window, its end) comes between two of them.
    if (!m_on || m_pending.empty())
        return;
    const Received received = std::move(m_pending.front());
    m_pending.pop_front();
    if (received.end)
        emit callEnded(*received.end);
    else
        emit incomingCall(received.call);
    if (!m_pending.empty())
        emit callsWaiting();
    else
        reportDropped(tooManyWaited());
}

bool MqttLine::isForeignCall(const QString& topic, bool retained, QString* host) const
{
    if (!m_on || retained)
        return false;
    *host = m_topics.hostOfCallTopic(topic);
    // The session may hold a subscription of an earlier host filter.
    const QString filter = m_topics.hostFilter();
    return !host->isEmpty() && *host != m_topics.hostName() &&
           (filter.isEmpty() || *host == filter);
}

void MqttLine::onMessage(const QString& topic, const QByteArray& payload, bool retained)
{
    QString host;
    if (!isForeignCall(topic, retained, &host))
        return;
    QString why;
    const std::optional<CallMessage> call = CallMessage::parse(payload, &why);
    if (!call) {
        refuse(topic, why);
        return;
    }
    const QString connectionId =
        call->id.isEmpty() ? QString() : host + QLatin1Char('/') + call->id;
    if (call->isOutcome()) {
        // The end of a call: known only by its id.
        if (call->id.isEmpty() ||
            seenBefore(QString::fromLatin1(callStateWord(*call->state)), host, call->id))
            return;
        queue(
            {LineCall(), LineCallEnd{connectionId, *call->state, call->duration, call->extension}});
        return;
    }
    if (!call->id.isEmpty() && seenBefore(QStringLiteral("ring"), host, call->id))
        return;

    // The numbers passed the lines' own check when the message was read.
    LineCall received =
        LineCall::fromTextNumbers(call->number.toStdString(), call->msn.toStdString());
    // Its desktop follows the call: its outcome comes under the same id.
    if (call->state == CallState::Ringing && !call->id.isEmpty()) {
        received.connectionId = connectionId;
        received.lastingId = true;
    }
    if (call->time.isValid()) {
        const qint64 age = call->time.msecsTo(m_clock->now().toDateTime());
        if (age <= kMaxAgeMs && age >= -kMaxAheadMs)
            received.rangAt = call->time;
        received.announce = age <= kMaxAnnouncedAgeMs;
    }
    queue({std::move(received), std::nullopt});
}

void MqttLine::onTooLarge(const QString& topic, qsizetype size, bool retained)
{
    QString host;
    if (isForeignCall(topic, retained, &host))
        refuse(topic,
               QStringLiteral("larger than %1 bytes (%2)").arg(CallMessage::kMaxSize).arg(size));
}

bool MqttLine::seenBefore(const QString& kind, const QString& host, const QString& id)
{
    // A host is one topic level: no '/' in it, so no two keys are alike.
    const QString key = kind + QLatin1Char('/') + host + QLatin1Char('/') + id;
    if (m_knownIds.contains(key))
        return true;
    m_knownIds.insert(key);
    m_recentIds.push_back(key);
    if (m_recentIds.size() > size_t(kRecentIds)) {
        m_knownIds.remove(m_recentIds.front());
        m_recentIds.pop_front();
    }
    return false;
}

void MqttLine::queue(Received received)
{
    m_pending.push_back(std::move(received));
    if (m_pending.size() > size_t(kMaxWaiting)) {
        m_pending.pop_front();
        ++m_dropped;
        ++m_droppedTotal;
    }
    emit callsWaiting();
}

void MqttLine::refuse(const QString& topic, const QString& why)
{
    ++m_refused;
    if (m_refusalWindow->isActive()) {
        ++m_refusedUnreported;
        m_lastRefusal = QStringLiteral("on %1: %2").arg(printable(topic), why);
        return;
    }
    report(QStringLiteral("a call message on %1 is ignored: %2").arg(printable(topic), why));
    m_refusalWindow->start(kRefusalReportMs);
}

void MqttLine::reportRefusals()
{
    if (m_refusedUnreported == 0)
        return;
    report(QStringLiteral("%1 more call message(s) ignored since; the last %2")
               .arg(m_refusedUnreported)
               .arg(m_lastRefusal));
    m_refusedUnreported = 0;
    m_lastRefusal.clear();
    if (m_on)
        m_refusalWindow->start(kRefusalReportMs);
}

void MqttLine::reportDropped(const QString& why)
{
    if (m_dropped == 0)
        return;
    report(QStringLiteral("%1 not recorded: %2").arg(receivedCallsWere(m_dropped), why));
    m_dropped = 0;
}
