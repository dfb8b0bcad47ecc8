#pragma once

#include <QByteArray>
#include <QString>

class SharingTopics;

// Home Assistant's MQTT discovery for the sensors of one desktop: "Siste
// anrop", whose state is the last caller's name (when the phone book knows
// the caller) or number and whose attributes are the rest of the call
// message (with what became of the call, "state"), and "Ubesvarte anrop",
// the missed calls not yet seen on the desktop. Both are available while
// the desktop's status says "online". Published retained, Home Assistant
// shows them without being configured.
namespace homeassistant {

// "homeassistant/sensor/<id>/last_call/config". The id is built from the
// desktop's name and the prefix ("ringvakt_kontor" for "kontor" under
// "ringvakt"), in the characters Home Assistant accepts, and is the same
// for no other name or prefix.
QString discoveryTopic(const SharingTopics& topics);
QByteArray discoveryConfig(const SharingTopics& topics);
// "homeassistant/sensor/<id>/missed_calls/config".
QString missedDiscoveryTopic(const SharingTopics& topics);
QByteArray missedDiscoveryConfig(const SharingTopics& topics);

} // namespace homeassistant
