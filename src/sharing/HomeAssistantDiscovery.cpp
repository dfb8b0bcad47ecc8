#include "sharing/HomeAssistantDiscovery.h"

#include "sharing/SharingTopics.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace homeassistant {

namespace {

// Home Assistant takes only these characters in a node id and unique id.
QString identifierOf(const QString& host)
{
    QString id = host;
    for (QChar& c : id) {
        const char16_t u = c.unicode();
        const bool allowed = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
                             (u >= '0' && u <= '9') || u == '_' || u == '-';
        if (!allowed)
            c = QLatin1Char('_');
    }
    return QStringLiteral("ringvakt_") + id;
}

} // namespace

QString discoveryTopic(const SharingTopics& topics)
{
    return QStringLiteral("homeassistant/sensor/%1/last_call/config")
        .arg(identifierOf(topics.hostName()));
}

QByteArray discoveryConfig(const SharingTopics& topics)
{
    const QString id = identifierOf(topics.hostName());
    QJsonObject device;
    device.insert(QStringLiteral("identifiers"), QJsonArray{id});
    device.insert(QStringLiteral("name"), QStringLiteral("Ringvakt ") + topics.hostName());
    device.insert(QStringLiteral("manufacturer"), QStringLiteral("Tornholt"));
    device.insert(QStringLiteral("model"), QStringLiteral("Ringvakt"));

    QJsonObject config;
    config.insert(QStringLiteral("name"), QStringLiteral("Siste anrop"));
    config.insert(QStringLiteral("unique_id"), id + QStringLiteral("_last_call"));
    config.insert(QStringLiteral("icon"), QStringLiteral("mdi:phone-incoming"));
    config.insert(QStringLiteral("state_topic"), topics.callTopic());
    // A caller without a delivered number is shown as the windows show it.
    config.insert(QStringLiteral("value_template"),
                  QStringLiteral("{{ value_json.name if value_json.known else "
                                 "(value_json.number or 'Ukjent nummer') }}"));
    config.insert(QStringLiteral("json_attributes_topic"), topics.callTopic());
    config.insert(QStringLiteral("availability_topic"), topics.statusTopic());
    config.insert(QStringLiteral("payload_available"), QStringLiteral("online"));
    config.insert(QStringLiteral("payload_not_available"), QStringLiteral("offline"));
    config.insert(QStringLiteral("device"), device);
    return QJsonDocument(config).toJson(QJsonDocument::Compact);
}

} // namespace homeassistant
