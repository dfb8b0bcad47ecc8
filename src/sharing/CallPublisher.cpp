#include "sharing/CallPublisher.h"

#include "platform/Report.h"
#include "sharing/HomeAssistantDiscovery.h"

#include <algorithm>

namespace {

const QByteArray kOnline = QByteArrayLiteral("online");
const QByteArray kOffline = QByteArrayLiteral("offline");

QString callsWere(int count)
{
    return count == 1 ? QStringLiteral("1 call was") : QStringLiteral("%1 calls were").arg(count);
}

} // namespace

CallPublisher::CallPublisher(SharingConfig config, LineTiming timing, QObject* parent)
    : QObject(parent), m_config(std::move(config)), m_topics(m_config),
      m_client(m_config, std::move(timing))
{
    m_client.setNaming(ConnectionReport::Naming::AsBroker);
    m_report = reportToStandardError;
    m_client.setWill(m_topics.statusTopic(), kOffline);
    connect(&m_client, &MqttClient::connected, this, &CallPublisher::onConnected);
    connect(&m_client, &MqttClient::published, this, &CallPublisher::onPublished);
    connect(&m_client, &MqttClient::disconnected, this, &CallPublisher::onDisconnected);
    connect(&m_client, &MqttClient::stateChanged, this, &CallPublisher::stateChanged);
    connect(&m_client, &MqttClient::refusedNotice, this, &CallPublisher::notice);
}

CallPublisher::~CallPublisher()
{
    stop();
}

void CallPublisher::setReport(std::function<void(const QString&)> report)
{
    m_report = report;
    m_client.setReport(std::move(report));
}

void CallPublisher::start()
{
    m_client.start();
}

void CallPublisher::stop()
{
    if (!m_client.isStarted())
        return;
    if (m_client.isConnected())
        m_client.publish(m_topics.statusTopic(), kOffline, true);
    m_client.stop();
    reportDropped();
    const auto sent = std::count_if(m_waiting.begin(), m_waiting.end(),
                                    [](const Waiting& w) { return w.messageId >= 0; });
    const auto unsent = qsizetype(m_waiting.size()) - sent;
    if (unsent > 0) {
        m_report(QStringLiteral("%1 not published: the MQTT broker %2 could not be reached by "
                                "the end")
                     .arg(callsWere(int(unsent)), brokerName()));
    }
    if (sent > 0) {
        m_report(QStringLiteral("%1 sent to the MQTT broker %2 without an acknowledgement by the "
                                "end")
                     .arg(callsWere(int(sent)), brokerName()));
    }
    m_waiting.clear();
}

bool CallPublisher::publish(const CallMessage& call)
{
    if (call.line == CallMessage::kLineMqtt)
        return false;
    const bool latest = !call.isOutcome() || call.id.isEmpty() || call.id == m_latestId;
    if (!call.isOutcome())
        m_latestId = call.id;
    m_waiting.push_back({call.toJson(), latest, -1});
    sendWaiting();
    keepBound();
    return true;
}

void CallPublisher::setMissedCount(int count)
{
    if (count == m_missedCount)
        return;
    m_missedCount = count;
    // A count that did not reach the broker is sent on the next connection.
    if (m_client.isConnected())
        m_client.publish(m_topics.missedTopic(), QByteArray::number(count), true);
}

void CallPublisher::onConnected()
{
    m_client.publish(m_topics.statusTopic(), kOnline, true);
    // With home automation off, an empty retained config removes a sensor
    // announced before.
    m_client.publish(
        homeassistant::discoveryTopic(m_topics),
        m_config.homeAutomation ? homeassistant::discoveryConfig(m_topics) : QByteArray(), true);
    m_client.publish(homeassistant::missedDiscoveryTopic(m_topics),
                     m_config.homeAutomation ? homeassistant::missedDiscoveryConfig(m_topics)
                                             : QByteArray(),
                     true);
    if (m_missedCount >= 0)
        m_client.publish(m_topics.missedTopic(), QByteArray::number(m_missedCount), true);
    reportDropped();
    sendWaiting();
}

void CallPublisher::onPublished(int messageId)
{
    const auto it = std::find_if(m_waiting.begin(), m_waiting.end(), [messageId](const Waiting& w) {
        return w.messageId == messageId;
    });
    if (it != m_waiting.end())
        m_waiting.erase(it);
}

void CallPublisher::onDisconnected()
{
    // Not acknowledged is not published: sent again on the next connection.
    for (Waiting& w : m_waiting)
        w.messageId = -1;
    keepBound();
}

void CallPublisher::keepBound()
{
    auto unsent = std::count_if(m_waiting.begin(), m_waiting.end(),
                                [](const Waiting& w) { return w.messageId < 0; });
    for (auto it = m_waiting.begin(); unsent > kMaxWaiting && it != m_waiting.end();) {
        if (it->messageId >= 0) {
            ++it;
            continue;
        }
        it = m_waiting.erase(it);
        --unsent;
        ++m_dropped;
        ++m_droppedUnreported;
    }
}

void CallPublisher::sendWaiting()
{
    if (!m_client.isConnected())
        return;
    for (Waiting& w : m_waiting) {
        if (w.messageId >= 0)
            continue;
        const int id = m_client.publish(m_topics.callTopic(), w.payload, w.retained);
        if (id < 0)
            return;
        w.messageId = id;
    }
}

void CallPublisher::reportDropped()
{
    if (m_droppedUnreported == 0)
        return;
    m_report(QStringLiteral("%1 not published: the MQTT broker %2 was away and only the last %3 "
                            "calls were kept")
                 .arg(callsWere(m_droppedUnreported), brokerName())
                 .arg(kMaxWaiting));
    m_droppedUnreported = 0;
}
