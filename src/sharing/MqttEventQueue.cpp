#include "sharing/MqttEventQueue.h"

#include <algorithm>
#include <cerrno>
#include <mosquitto.h>

void MqttEventQueue::install(mosquitto* mosq)
{
    mosquitto_connect_callback_set(mosq, &MqttEventQueue::onConnect);
    mosquitto_disconnect_callback_set(mosq, &MqttEventQueue::onDisconnect);
    mosquitto_publish_callback_set(mosq, &MqttEventQueue::onPublish);
    mosquitto_subscribe_callback_set(mosq, &MqttEventQueue::onSubscribe);
    mosquitto_message_callback_set(mosq, &MqttEventQueue::onMessage);
}

MqttEvent MqttEventQueue::take()
{
    MqttEvent event = std::move(m_events.front());
    m_events.pop_front();
    return event;
}

void MqttEventQueue::onConnect(mosquitto*, void* self, int code)
{
    MqttEvent event(MqttEvent::Kind::Connect);
    event.code = code;
    static_cast<MqttEventQueue*>(self)->add(std::move(event));
}

void MqttEventQueue::onDisconnect(mosquitto*, void* self, int code)
{
    MqttEvent event(MqttEvent::Kind::Disconnect);
    event.code = code;
    event.savedErrno = errno;
    static_cast<MqttEventQueue*>(self)->add(std::move(event));
}

void MqttEventQueue::onPublish(mosquitto*, void* self, int messageId)
{
    MqttEvent event(MqttEvent::Kind::Publish);
    event.code = messageId;
    static_cast<MqttEventQueue*>(self)->add(std::move(event));
}

void MqttEventQueue::onSubscribe(mosquitto*, void* self, int messageId, int count,
                                 const int* grantedQos)
{
    MqttEvent event(MqttEvent::Kind::Subscribe);
    event.code = messageId;
    // 0x80 is the broker's "failure" for a subscription.
    event.refused = std::any_of(grantedQos, grantedQos + std::max(0, count),
                                [](int qos) { return qos < 0 || qos > 2; });
    static_cast<MqttEventQueue*>(self)->add(std::move(event));
}

void MqttEventQueue::onMessage(mosquitto*, void* self, const mosquitto_message* message)
{
    auto* queue = static_cast<MqttEventQueue*>(self);
    MqttEvent event(MqttEvent::Kind::Message);
    event.topic = QString::fromUtf8(message->topic);
    event.size = std::max(0, message->payloadlen);
    if (event.size <= queue->m_payloadLimit)
        event.payload = QByteArray(static_cast<const char*>(message->payload), event.size);
    event.retained = message->retain;
    queue->add(std::move(event));
}
