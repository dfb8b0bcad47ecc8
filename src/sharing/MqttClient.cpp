#include "sharing/MqttClient.h"

#include "sharing/BrokerTls.h"

#include <QCoreApplication>
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
      m_recovery(std::move(timing), [this] { connectNow(); }),
      m_watch(
          [this] {
              if (m_mosq)
                  afterCall(mosquitto_loop_read(m_mosq, 1));
          },
          [this] {
              if (m_mosq)
                  afterCall(mosquitto_loop_write(m_mosq, 1));
          })
{
    initLibrary();
    // The changes are reported by m_report, in words that name the broker.
    m_recovery.setReport([](const QString&) {});
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
    m_report.setSink(std::move(report));
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
    // An address is connected to as it is: a look-up of it would be a
    // reverse one, which some networks never answer.
    const QHostAddress address(m_config.host);
    if (!address.isNull()) {
        openConnection(address.toString());
        return;
    }
    // libmosquitto would look the name up with a blocking getaddrinfo();
    // a broker name that the network cannot resolve must not freeze the
    // desktop, so it is looked up here, in the background.
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
    const auto v4 = std::find_if(addresses.begin(), addresses.end(), [](const QHostAddress& a) {
        return a.protocol() == QAbstractSocket::IPv4Protocol;
    });
    openConnection((v4 != addresses.end() ? *v4 : addresses.first()).toString());
}

void MqttClient::openConnection(const QString& address)
{
    // The time limit is the connection's own, whatever the look-up took.
    m_connectTimeout.start(m_recovery.timing().callLimitMs);
    // Without a session to keep, no client id (libmosquitto makes a random
    // one): two desktops of the same name must not take each other's
    // connection. mosquitto_new() also ignores SIGPIPE for the process, so
    // a write to a broker that vanished (TLS writes without MSG_NOSIGNAL)
    // is an error, not the end.
    const QByteArray clientId = m_sessionId.toUtf8();
    m_mosq = mosquitto_new(m_sessionId.isEmpty() ? nullptr : clientId.constData(),
                           m_sessionId.isEmpty(), &m_events);
    if (!m_mosq) {
        fail(QStringLiteral("no MQTT client could be made: %1").arg(std::strerror(errno)));
        return;
    }
    MqttEventQueue::install(m_mosq);

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
    if (result == MOSQ_ERR_SUCCESS && m_config.tls && !prepareTls())
        return;
    if (result != MOSQ_ERR_SUCCESS) {
        fail(errorText(result, errno));
        return;
    }
    const int keepAlive = std::max(kMinKeepAliveSeconds, m_recovery.timing().keepAliveIdleSeconds);
    const QByteArray host = address.toUtf8();
    result = mosquitto_connect_async(m_mosq, host.constData(), m_config.port, keepAlive);
    const int savedErrno = errno;
    if (result != MOSQ_ERR_SUCCESS) {
        fail(errorText(result, savedErrno));
        return;
    }
    syncNotifiers();
}

bool MqttClient::prepareTls()
{
    m_tls = std::make_unique<BrokerTls>();
    QString why;
    if (!m_tls->prepare(m_config.caFile, m_config.host, &why)) {
        fail(why);
        return false;
    }
    // libmosquitto would otherwise set the context up again after its own
    // rules, and want a CA file even for the system's certificates.
    int result = mosquitto_int_option(m_mosq, MOSQ_OPT_SSL_CTX_WITH_DEFAULTS, 0);
    if (result == MOSQ_ERR_SUCCESS)
        result = mosquitto_void_option(m_mosq, MOSQ_OPT_SSL_CTX, m_tls->context());
    if (result != MOSQ_ERR_SUCCESS) {
        fail(errorText(result, errno));
        return false;
    }
    return true;
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
        dispatch(m_events.take());
        // A teardown meanwhile dropped the events of its connection; what
        // is left belongs to the next one.
        if (!self)
            return false;
    }
    m_dispatching = false;
    return true;
}

void MqttClient::dispatch(const MqttEvent& event)
{
    switch (event.kind) {
    case MqttEvent::Kind::Connect:
        if (event.code == 0) {
            onAccepted();
        } else {
            const QPointer<MqttClient> self(this);
            const QString why = sentence(mosquitto_connack_string(event.code));
            if (!m_refusalNoticed) {
                m_refusalNoticed = true;
                // Shown in the tray; standard error has it from fail().
                emit refusedNotice(QCoreApplication::translate(
                                       "TrayIcon", "MQTT-megleren %1 slipper ikke Ringvakt inn: %2")
                                       .arg(brokerName(), why));
            }
            if (self)
                fail(QStringLiteral("the broker refused the connection: ") + why);
        }
        break;
    case MqttEvent::Kind::Disconnect:
        fail(event.code == MOSQ_ERR_SUCCESS ? QStringLiteral("the broker ended the connection")
                                            : errorText(event.code, event.savedErrno));
        break;
    case MqttEvent::Kind::Publish:
        emit published(event.code);
        break;
    case MqttEvent::Kind::Subscribe:
        // Without its subscription the connection is of no use: lost, and
        // tried again, so that the user hears of it.
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
    case MqttEvent::Kind::Message:
        if (event.size > m_events.payloadLimit())
            emit messageTooLarge(event.topic, event.size, event.retained);
        else
            emit messageReceived(event.topic, event.payload, event.retained);
        break;
    }
}

void MqttClient::onAccepted()
{
    const QPointer<MqttClient> self(this);
    const quint64 generation = m_generation;
    m_connectTimeout.stop();
    m_connected = true;
    m_misc.start();
    const bool wasLost = m_recovery.isLost();
    const int tries = m_recovery.attempts();
    m_recovery.back();
    if (wasLost)
        m_report.back(brokerName(), tries);
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

void MqttClient::fail(const QString& reason)
{
    if (!m_on)
        return;
    // A certificate turned down is why, however the handshake's end came.
    const QString refusal = m_tls ? m_tls->refusal() : QString();
    const QString why = refusal.isEmpty() ? reason : refusal;
    const bool wasConnected = m_connected;
    const bool wasLost = m_recovery.isLost();
    teardown();
    // One try is scheduled however many ways the one failure was reported.
    if (!m_recovery.retryPending())
        m_recovery.lost(QStringLiteral("MQTT broker %1: %2").arg(brokerName(), why));
    if (!wasLost)
        m_report.lost(brokerName(), why, m_recovery.timing().retryDelayMs(0));
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
    // The watch ends before libmosquitto closes the socket it watches.
    m_watch.drop();
    if (m_mosq) {
        mosquitto_destroy(m_mosq);
        m_mosq = nullptr;
    }
    // After libmosquitto has let go of its context.
    m_tls.reset();
    m_connected = false;
    m_subscribed = false;
}

void MqttClient::syncNotifiers()
{
    m_watch.follow(m_mosq ? mosquitto_socket(m_mosq) : -1, m_mosq && mosquitto_want_write(m_mosq));
}
