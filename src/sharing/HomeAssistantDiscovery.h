#pragma once

#include <QByteArray>
#include <QString>

class SharingTopics;

// Home Assistant's MQTT discovery for the sensor "Siste anrop" of one
// desktop: its state is the last caller's name (when the phone book knows
// the caller) or number, its attributes the rest of the call message, and
// it is available while the desktop's status says "online". Published
// retained, Home Assistant shows it without being configured.
namespace homeassistant {

// "homeassistant/sensor/ringvakt_<host>/last_call/config"; the host as an
// identifier Home Assistant accepts (letters, digits, '_' and '-').
QString discoveryTopic(const SharingTopics& topics);
QByteArray discoveryConfig(const SharingTopics& topics);

} // namespace homeassistant
