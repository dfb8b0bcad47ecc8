#include "sharing/MqttLine.h"

#include "callmonitor/CallMonitorParser.h"
#include "sharing/CallMessage.h"

#include <algorithm>
#include <cstdio>

namespace {

// Enough to know a message sent again after a lost acknowledgement: the
// broker sends it again right after the reconnect, among few others.
constexpr size_t kRecentMessages = 32;
// A topic named in a report is cut to this length.
constexpr qsizetype kMaxReportedTopic = 120;

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

} // namespace

MqttLine::MqttLine(SharingConfig config, LineTiming timing, QObject* parent)
    : Line(parent), m_topics(config), m_client(config, std::move(timing))
{
    m_report = [](const QString& line) {
        std::fprintf(stderr, "ringvakt: %s\n", line.toLocal8Bit().constData());
        std::fflush(stderr);
    };
    m_client.setSubscriptions({m_topics.callSubscription()});
    connect(&m_client, &MqttClient::messageReceived, this, &MqttLine::onMessage);
    connect(&m_client, &MqttClient::stateChanged, this, &MqttLine::stateChanged);
    connect(&m_client, &MqttClient::refused, this, [this](const QString& why) {
        if (m_refusalNoticed)
            return;
        m_refusalNoticed = true;
        emit notice(QStringLiteral("MQTT-megleren %1 slipper ikke Ringvakt inn: %2")
                        .arg(m_client.brokerName(), why));
    });
}

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
    m_pending.clear();
    emit stateChanged();
}

void MqttLine::shutDown()
{
    switchOff();
}

void MqttLine::poll()
{
    // One call at a time, in the order they arrived; each is handled to the
    // end (sounds included) before the next is handed on, also one that
    // arrived meanwhile.
    while (!m_pending.empty() && m_on) {
        const auto numbers = std::move(m_pending.front());
        m_pending.pop_front();
        emit incomingCall(LineCall{numbers.first, numbers.second, {}, true});
    }
}

void MqttLine::onMessage(const QString& topic, const QByteArray& payload, bool retained)
{
    if (!m_on || retained)
        return;
    const QString host = m_topics.hostOfCallTopic(topic);
    if (host == m_topics.hostName())
        return;
    QString why;
    const std::optional<CallMessage> call = CallMessage::parse(payload, &why);
    if (!call) {
        ++m_refused;
        report(QStringLiteral("a call message on %1 is ignored: %2").arg(printable(topic), why));
        return;
    }
    // Only a message with its moment can be known again; without one, two
    // alike are two calls.
    if (call->time.isValid() && seenBefore(payload))
        return;
    // The numbers passed the call monitor's own check, so they become its
    // RING and from there the same structs.
    CallMonitorEvent ring;
    ring.caller = call->number.toStdString();
    ring.called = call->msn.toStdString();
    m_pending.emplace_back(ring.callingNumberStruct(), ring.calledNumberStruct());
    emit callsWaiting();
}

bool MqttLine::seenBefore(const QByteArray& payload)
{
    if (std::find(m_recent.begin(), m_recent.end(), payload) != m_recent.end())
        return true;
    m_recent.push_back(payload);
    if (m_recent.size() > kRecentMessages)
        m_recent.pop_front();
    return false;
}
