#include "sharing/HomeAssistantDiscovery.h"

#include "sharing/SharingTopics.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace homeassistant {

namespace {

const QString kDefaultPrefix = QStringLiteral("ringvakt");

// A text as Home Assistant takes it in an id (letters, digits, '_' and
// '-'), and as no other text gives it: letters, digits and '-' stand for
// themselves; every other character, '_' too, is '_' and two hex digits
// for each of its UTF-8 bytes. So '_' is always followed by a hex digit,
// and "__" never occurs.
QString escaped(const QString& text)
{
    QString id;
    for (const char byte : text.toUtf8()) {
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || byte == '-';
        if (plain)
            id += QLatin1Char(byte);
        else
            id += QStringLiteral("_%1").arg(uchar(byte), 2, 16, QLatin1Char('0'));
    }
    return id;
}

// "ringvakt_<name>", and "__<prefix>" after it for a prefix of another
// name: distinct settings give distinct ids (the first "__" is where the
// prefix begins), and a plain name under the usual prefix keeps the id it
// always had.
QString identifierOf(const SharingTopics& topics)
{
    QString id = QStringLiteral("ringvakt_") + escaped(topics.hostName());
    if (topics.prefix() != kDefaultPrefix)
        id += QStringLiteral("__") + escaped(topics.prefix());
    return id;
}

// The device both sensors belong to, and what they share: their
// availability.
QJsonObject sensorOf(const SharingTopics& topics)
{
    const QString id = identifierOf(topics);
    QJsonObject device;
    device.insert(QStringLiteral("identifiers"), QJsonArray{id});
    device.insert(QStringLiteral("name"), QStringLiteral("Ringvakt ") + topics.hostName());
    device.insert(QStringLiteral("manufacturer"), QStringLiteral("Tornholt"));
    device.insert(QStringLiteral("model"), QStringLiteral("Ringvakt"));

    QJsonObject config;
    config.insert(QStringLiteral("availability_topic"), topics.statusTopic());
    config.insert(QStringLiteral("payload_available"), QStringLiteral("online"));
    config.insert(QStringLiteral("payload_not_available"), QStringLiteral("offline"));
    config.insert(QStringLiteral("device"), device);
    return config;
}

} // namespace

QString discoveryTopic(const SharingTopics& topics)
{
    return QStringLiteral("homeassistant/sensor/%1/last_call/config").arg(identifierOf(topics));
}

QString missedDiscoveryTopic(const SharingTopics& topics)
{
    return QStringLiteral("homeassistant/sensor/%1/missed_calls/config").arg(identifierOf(topics));
}

QByteArray missedDiscoveryConfig(const SharingTopics& topics)
{
    QJsonObject config = sensorOf(topics);
    config.insert(QStringLiteral("name"), QStringLiteral("Ubesvarte anrop"));
    config.insert(QStringLiteral("unique_id"),
                  identifierOf(topics) + QStringLiteral("_missed_calls"));
    config.insert(QStringLiteral("icon"), QStringLiteral("mdi:phone-missed"));
    config.insert(QStringLiteral("state_topic"), topics.missedTopic());
    config.insert(QStringLiteral("state_class"), QStringLiteral("measurement"));
    return QJsonDocument(config).toJson(QJsonDocument::Compact);
}

QByteArray discoveryConfig(const SharingTopics& topics)
{
    const QString id = identifierOf(topics);
    QJsonObject config = sensorOf(topics);
    config.insert(QStringLiteral("name"), QStringLiteral("Siste anrop"));
    config.insert(QStringLiteral("unique_id"), id + QStringLiteral("_last_call"));
    config.insert(QStringLiteral("icon"), QStringLiteral("mdi:phone-incoming"));
    config.insert(QStringLiteral("state_topic"), topics.callTopic());
    // A caller without a delivered number is shown as the windows show it.
    config.insert(QStringLiteral("value_template"),
                  QStringLiteral("{{ value_json.name if value_json.known else "
                                 "(value_json.number or 'Ukjent nummer') }}"));
    config.insert(QStringLiteral("json_attributes_topic"), topics.callTopic());
    return QJsonDocument(config).toJson(QJsonDocument::Compact);
}

} // namespace homeassistant
