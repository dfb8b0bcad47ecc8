#pragma once

#include "sharing/SharingConfig.h"

#include <QString>

struct Settings;

// The sharing settings as the MQTT line and the publisher take them.
SharingConfig sharingConfigOf(const Settings& settings);

// Everything of the configuration that a connection is made with, as one
// text: a change of it means a new connection. It holds the password: it is
// compared, never shown or written anywhere.
QString connectionChoiceOf(const SharingConfig& config);
