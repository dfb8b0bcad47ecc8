#pragma once

#include <QByteArray>
#include <QString>
#include <deque>
#include <limits>

struct mosquitto;
struct mosquitto_message;

// What libmosquitto reported from inside one of its calls.
struct MqttEvent
{
    enum class Kind
    {
        Connect,
        Disconnect,
        Publish,
        Subscribe,
        Message
    };
    explicit MqttEvent(Kind k) : kind(k) {}

    Kind kind;
    // The libmosquitto result, or the message id.
    int code = 0;
    // errno as the callback saw it, for a result that is a system error.
    int savedErrno = 0;
    QString topic;
    // Empty for a message over the payload limit: it is never copied.
    QByteArray payload;
    // The payload's size as it came.
    qsizetype size = 0;
    bool retained = false;
    // A subscription the broker turned down.
    bool refused = false;
};

// libmosquitto's callbacks only note what happened here; the client acts on
// it once libmosquitto has returned, so that nothing the client's owner
// does in a slot runs inside libmosquitto.
class MqttEventQueue
{
public:
    // A message larger than this is noted with its size, without a copy of
    // its payload.
    void setPayloadLimit(qsizetype bytes) { m_payloadLimit = bytes; }
    qsizetype payloadLimit() const { return m_payloadLimit; }

    // Makes libmosquitto's callbacks of `mosq` note here; `mosq` must have
    // been made with this queue as its user data.
    static void install(mosquitto* mosq);

    bool empty() const { return m_events.empty(); }
    MqttEvent take();
    void clear() { m_events.clear(); }

private:
    static void onConnect(mosquitto*, void* self, int code);
    static void onDisconnect(mosquitto*, void* self, int code);
    static void onPublish(mosquitto*, void* self, int messageId);
    static void onSubscribe(mosquitto*, void* self, int messageId, int count,
                            const int* grantedQos);
    static void onMessage(mosquitto*, void* self, const mosquitto_message* message);
    void add(MqttEvent event) { m_events.push_back(std::move(event)); }

    std::deque<MqttEvent> m_events;
    qsizetype m_payloadLimit = std::numeric_limits<qsizetype>::max();
};
