#include "sharing/MqttClient.h"

#include <QFile>
#include <QHostAddress>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mosquitto.h>

namespace {

constexpr int kQos = 1;
// libmosquitto refuses a keepalive below this.
constexpr int kMinKeepAliveSeconds = 5;

// libmosquitto keeps process-wide state (OpenSSL among it) that must be set
// up once before the first client.
void initLibrary()
{
    static const int once = mosquitto_lib_init();
    (void)once;
}

// libmosquitto's texts end with a full stop; reports go on after them.
QString sentence(const char* text)
{
    QString words = QString::fromUtf8(text);
    if (words.endsWith(QLatin1Char('.')))
        words.chop(1);
    return words;
}

// A libmosquitto result as words; `savedErrno` is errno right after the
// call, for the results that stand for a system error.
QString errorText(int result, int savedErrno)
{
    if (result == MOSQ_ERR_ERRNO)
        return QString::fromLocal8Bit(std::strerror(savedErrno));
    return sentence(mosquitto_strerror(result));
}

} // namespace

MqttClient::MqttClient(SharingConfig config, LineTiming timing, QObject* parent)
    : QObject(parent), m_config(std::move(config)),
      m_recovery(std::move(timing), [this] { connectNow(); })
{
    initLibrary();
    m_connectTimeout.setSingleShot(true);
    connect(&m_connectTimeout, &QTimer::timeout, this,
            [this] { fail(QStringLiteral("no answer")); });
    // Pings and the check for a broker that stopped answering are due once
    // per keepalive period; a few looks per period keep them on time.
    const int keepAlive = std::max(kMinKeepAliveSeconds, m_recovery.timing().keepAliveIdleSeconds);
    m_misc.setInterval(std::max(1, keepAlive / 4) * 1000);
    connect(&m_misc, &QTimer::timeout, this, [this] {
        if (m_mosq)
            afterCall(mosquitto_loop_misc(m_mosq));
    });
}

MqttClient::~MqttClient()
{
    m_on = false;
    teardown();
}

void MqttClient::setReport(std::function<void(const QString&)> report)
{
    m_recovery.setReport(std::move(report));
}

void MqttClient::setWill(const QString& topic, const QByteArray& payload)
{
    m_willTopic = topic;
    m_willPayload = payload;
}

void MqttClient::setSubscriptions(const QStringList& topics)
{
    m_subscriptions = topics;
}

void MqttClient::start()
{
    if (m_on)
        return;
    m_on = true;
    connectNow();
}

void MqttClient::stop()
{
    if (!m_on)
        return;
    m_on = false;
    // A goodbye, so that the broker does not publish the will; written at
    // once, as libmosquitto writes when it is not inside a callback.
    if (m_mosq && m_connected)
        mosquitto_disconnect(m_mosq);
    const bool wasLost = m_recovery.isLost();
    teardown();
    m_recovery.stop();
    if (wasLost)
        emit stateChanged();
}

int MqttClient::publish(const QString& topic, const QByteArray& payload, bool retain)
{
    if (!m_mosq || !m_connected)
        return -1;
    int id = -1;
    const QByteArray topicBytes = topic.toUtf8();
    const int result = mosquitto_publish(m_mosq, &id, topicBytes.constData(), int(payload.size()),
                                         payload.constData(), kQos, retain);
    // A failed write leaves the rest of the packet waiting: the write
    // notifier then finds the broken connection.
    syncNotifiers();
    return result == MOSQ_ERR_SUCCESS ? id : -1;
}

void MqttClient::connectNow()
{
    if (!m_on)
        return;
    teardown();
    m_connectTimeout.start(m_recovery.timing().callLimitMs);
    // libmosquitto would look the name up with a blocking getaddrinfo();
    // a broker name that the network cannot resolve must not freeze the
    // desktop, so it is looked up here first, in the background.
    const quint64 generation = m_generation;
    m_lookupId =
        QHostInfo::lookupHost(m_config.host, this, [this, generation](const QHostInfo& info) {
            if (generation == m_generation)
                onHostFound(info);
        });
}

void MqttClient::onHostFound(const QHostInfo& info)
{
    m_lookupId = -1;
    const QList<QHostAddress> addresses = info.addresses();
    if (info.error() != QHostInfo::NoError || addresses.isEmpty()) {
        fail(QStringLiteral("the broker's name is not known: %1").arg(info.errorString()));
        return;
    }
    // With TLS the certificate is checked against the name, so the name is
    // given (the system has just resolved it); without, the address.
    if (m_config.tls) {
        openConnection(m_config.host);
        return;
    }
    const auto v4 = std::find_if(addresses.begin(), addresses.end(), [](const QHostAddress& a) {
        return a.protocol() == QAbstractSocket::IPv4Protocol;
    });
    openConnection((v4 != addresses.end() ? *v4 : addresses.first()).toString());
}

void MqttClient::openConnection(const QString& target)
{
    // No client id (libmosquitto makes a random one): two desktops of the
    // same name must not take each other's connection. mosquitto_new()
    // also ignores SIGPIPE for the process, so a write to a broker that
    // vanished (TLS writes without MSG_NOSIGNAL) is an error, not the end.
    m_mosq = mosquitto_new(nullptr, true, this);
    if (!m_mosq) {
        fail(QStringLiteral("no MQTT client could be made: %1").arg(std::strerror(errno)));
        return;
    }
    mosquitto_connect_callback_set(m_mosq, &MqttClient::onConnectCallback);
    mosquitto_disconnect_callback_set(m_mosq, &MqttClient::onDisconnectCallback);
    mosquitto_publish_callback_set(m_mosq, &MqttClient::onPublishCallback);
    mosquitto_subscribe_callback_set(m_mosq, &MqttClient::onSubscribeCallback);
    mosquitto_message_callback_set(m_mosq, &MqttClient::onMessageCallback);

    int result = MOSQ_ERR_SUCCESS;
    if (!m_config.user.isEmpty()) {
        const QByteArray user = m_config.user.toUtf8();
        const QByteArray password = m_config.password.toUtf8();
        result = mosquitto_username_pw_set(m_mosq, user.constData(),
                                           password.isEmpty() ? nullptr : password.constData());
    }
    if (result == MOSQ_ERR_SUCCESS && !m_willTopic.isEmpty()) {
        const QByteArray topic = m_willTopic.toUtf8();
        result = mosquitto_will_set(m_mosq, topic.constData(), int(m_willPayload.size()),
                                    m_willPayload.constData(), kQos, true);
    }
    if (result == MOSQ_ERR_SUCCESS && m_config.tls) {
        if (m_config.caFile.isEmpty()) {
            result = mosquitto_int_option(m_mosq, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
        } else {
            const QByteArray caFile = QFile::encodeName(m_config.caFile);
            result =
                mosquitto_tls_set(m_mosq, caFile.constData(), nullptr, nullptr, nullptr, nullptr);
            if (result != MOSQ_ERR_SUCCESS) {
                fail(QStringLiteral("the CA file %1 cannot be used").arg(m_config.caFile));
                return;
            }
        }
    }
    if (result != MOSQ_ERR_SUCCESS) {
        fail(errorText(result, errno));
        return;
    }
    const int keepAlive = std::max(kMinKeepAliveSeconds, m_recovery.timing().keepAliveIdleSeconds);
    const QByteArray host = target.toUtf8();
    result = mosquitto_connect_async(m_mosq, host.constData(), m_config.port, keepAlive);
    const int savedErrno = errno;
    if (result != MOSQ_ERR_SUCCESS) {
        fail(errorText(result, savedErrno));
        return;
    }
    syncNotifiers();
}

void MqttClient::afterCall(int result)
{
    const int savedErrno = errno;
    const quint64 generation = m_generation;
    if (!dispatchEvents() || generation != m_generation)
        return;
    if (result != MOSQ_ERR_SUCCESS) {
        fail(errorText(result, savedErrno));
        return;
    }
    syncNotifiers();
}

bool MqttClient::dispatchEvents()
{
    // A slot that runs an event loop of its own can bring more events from
    // the socket meanwhile: they are queued behind and taken here, in order.
    if (m_dispatching)
        return true;
    const QPointer<MqttClient> self(this);
    m_dispatching = true;
    while (!m_events.empty()) {
        const Event event = std::move(m_events.front());
        m_events.pop_front();
        switch (event.kind) {
        case Event::Kind::Connect:
            if (event.code == 0) {
                onAccepted();
            } else {
                const QString why = sentence(mosquitto_connack_string(event.code));
                emit refused(why);
                if (self)
                    fail(QStringLiteral("the broker refused the connection: ") + why);
            }
            break;
        case Event::Kind::Disconnect:
            fail(event.code == MOSQ_ERR_SUCCESS ? QStringLiteral("the broker ended the connection")
                                                : errorText(event.code, event.savedErrno));
            break;
        case Event::Kind::Publish:
            emit published(event.code);
            break;
        case Event::Kind::Subscribe:
            // Without its subscription the connection is of no use: lost,
            // and tried again, so that the user hears of it.
            if (event.refused) {
                fail(QStringLiteral("the broker refused the subscription"));
                break;
            }
            m_pendingSubscriptions.erase(event.code);
            if (m_pendingSubscriptions.empty() && m_connected && !m_subscribed) {
                m_subscribed = true;
                emit subscribed();
            }
            break;
        case Event::Kind::Message:
            emit messageReceived(event.topic, event.payload, event.retained);
            break;
        }
        // A teardown meanwhile dropped the events of its connection; what
        // is left belongs to the next one.
        if (!self)
            return false;
    }
    m_dispatching = false;
    return true;
}

void MqttClient::onAccepted()
{
    const QPointer<MqttClient> self(this);
    const quint64 generation = m_generation;
    m_connectTimeout.stop();
    m_connected = true;
    m_misc.start();
    const bool wasLost = m_recovery.isLost();
    m_recovery.back();
    for (const QString& topic : std::as_const(m_subscriptions)) {
        int id = -1;
        const QByteArray bytes = topic.toUtf8();
        const int result = mosquitto_subscribe(m_mosq, &id, bytes.constData(), kQos);
        if (result != MOSQ_ERR_SUCCESS) {
            fail(QStringLiteral("cannot subscribe to %1: %2").arg(topic, errorText(result, errno)));
            return;
        }
        m_pendingSubscriptions.insert(id);
    }
    if (wasLost)
        emit stateChanged();
    if (!self || generation != m_generation)
        return;
    emit connected();
    if (!self || generation != m_generation)
        return;
    if (m_subscriptions.isEmpty()) {
        m_subscribed = true;
        emit subscribed();
    }
}

void MqttClient::fail(const QString& why)
{
    if (!m_on)
        return;
    const bool wasConnected = m_connected;
    const bool wasLost = m_recovery.isLost();
    teardown();
    // One try is scheduled however many ways the one failure was reported.
    if (!m_recovery.retryPending())
        m_recovery.lost(QStringLiteral("MQTT broker %1: %2").arg(brokerName(), why));
    const QPointer<MqttClient> self(this);
    if (wasConnected)
        emit disconnected();
    if (self && !wasLost)
        emit stateChanged();
}

void MqttClient::teardown()
{
    ++m_generation;
    m_events.clear();
    m_pendingSubscriptions.clear();
    m_connectTimeout.stop();
    m_misc.stop();
    if (m_lookupId >= 0) {
        QHostInfo::abortHostLookup(m_lookupId);
        m_lookupId = -1;
    }
    // The notifiers go before libmosquitto closes the socket they watch.
    dropNotifiers();
    if (m_mosq) {
        mosquitto_destroy(m_mosq);
        m_mosq = nullptr;
    }
    m_connected = false;
    m_subscribed = false;
}

void MqttClient::syncNotifiers()
{
    const int socket = m_mosq ? mosquitto_socket(m_mosq) : -1;
    if (socket != m_socket) {
        dropNotifiers();
        if (socket >= 0) {
            m_readNotifier = new QSocketNotifier(socket, QSocketNotifier::Read, this);
            connect(m_readNotifier, &QSocketNotifier::activated, this, [this] {
                if (m_mosq)
                    afterCall(mosquitto_loop_read(m_mosq, 1));
            });
            m_writeNotifier = new QSocketNotifier(socket, QSocketNotifier::Write, this);
            connect(m_writeNotifier, &QSocketNotifier::activated, this, [this] {
                if (m_mosq)
                    afterCall(mosquitto_loop_write(m_mosq, 1));
            });
            m_socket = socket;
        }
    }
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(mosquitto_want_write(m_mosq));
}

void MqttClient::dropNotifiers()
{
    // Disabled at once, deleted later: this may run inside one of their
    // own activations.
    for (QSocketNotifier* notifier : {m_readNotifier.data(), m_writeNotifier.data()}) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }
    m_readNotifier = nullptr;
    m_writeNotifier = nullptr;
    m_socket = -1;
}

void MqttClient::onConnectCallback(mosquitto*, void* self, int code)
{
    Event event(Event::Kind::Connect);
    event.code = code;
    static_cast<MqttClient*>(self)->m_events.push_back(std::move(event));
}

void MqttClient::onDisconnectCallback(mosquitto*, void* self, int code)
{
    Event event(Event::Kind::Disconnect);
    event.code = code;
    event.savedErrno = errno;
    static_cast<MqttClient*>(self)->m_events.push_back(std::move(event));
}

void MqttClient::onPublishCallback(mosquitto*, void* self, int messageId)
{
    Event event(Event::Kind::Publish);
    event.code = messageId;
    static_cast<MqttClient*>(self)->m_events.push_back(std::move(event));
}

void MqttClient::onSubscribeCallback(mosquitto*, void* self, int messageId, int count,
                                     const int* grantedQos)
{
    Event event(Event::Kind::Subscribe);
    event.code = messageId;
    // 0x80 is the broker's "failure" for a subscription.
    event.refused = std::any_of(grantedQos, grantedQos + std::max(0, count),
                                [](int qos) { return qos < 0 || qos > 2; });
    static_cast<MqttClient*>(self)->m_events.push_back(std::move(event));
}

void MqttClient::onMessageCallback(mosquitto*, void* self, const mosquitto_message* message)
{
    Event event(Event::Kind::Message);
    event.topic = QString::fromUtf8(message->topic);
    event.payload = QByteArray(static_cast<const char*>(message->payload), message->payloadlen);
    event.retained = message->retain;
    static_cast<MqttClient*>(self)->m_events.push_back(std::move(event));
}
