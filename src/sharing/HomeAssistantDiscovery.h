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

// "homeassistant/sensor/<id>/last_call/config". The id is built from the
// desktop's name and the prefix ("ringvakt_kontor" for "kontor" under
// "ringvakt"), in the characters Home Assistant accepts, and is the same
// for no other name or prefix.
QString discoveryTopic(const SharingTopics& topics);
QByteArray discoveryConfig(const SharingTopics& topics);

} // namespace homeassistant
