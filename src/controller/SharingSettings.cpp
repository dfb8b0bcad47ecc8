#include "controller/SharingSettings.h"

#include "platform/Cp1252.h"
#include "settings/Settings.h"

SharingConfig sharingConfigOf(const Settings& s)
{
    SharingConfig config;
    // A desktop whose line is another desktop's calls passes none on.
    config.publish = s.MQTT == Sharing::On && s.LINE != LineKind::Mqtt;
    config.host = cp1252::toQString(s.MQTT_HOST).trimmed();
    config.port = quint16(s.MQTT_PORT);
    config.user = cp1252::toQString(s.MQTT_USER);
    config.password = cp1252::toQString(s.MQTT_PASSWORD);
    config.tls = s.MQTT_TLS == Sharing::On;
    config.caFile = cp1252::toQString(s.MQTT_CAFILE).trimmed();
    config.prefix = SharingConfig::topicPrefix(cp1252::toQString(s.MQTT_PREFIX));
    config.homeAutomation = s.MQTT_HA == Sharing::On;
    const QString name = cp1252::toQString(s.MQTT_NAME).trimmed();
    if (!name.isEmpty())
        config.hostName = SharingConfig::topicLevel(name);
    const QString filter = cp1252::toQString(s.MQTT_FILTER).trimmed();
    if (!filter.isEmpty())
        config.hostFilter = SharingConfig::topicLevel(filter);
    return config;
}

QString connectionChoiceOf(const SharingConfig& c)
{
    return QStringList{c.host,
                       QString::number(c.port),
                       c.user,
                       c.password,
                       c.tls ? QStringLiteral("tls") : QString(),
                       c.caFile,
                       c.prefix,
                       c.homeAutomation ? QStringLiteral("ha") : QString(),
                       c.hostName,
                       c.hostFilter}
        .join(QLatin1Char('\n'));
}
