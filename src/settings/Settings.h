#pragma once

#include "settings/SettingValues.h"

#include <cstdint>
#include <string>

class SettingsStore;

// Every user choice of the program, in one record. The stored fields carry
// the names of the values they are stored under; IntroFile and OutroFile are
// fixed at start-up and never stored. Text is kept as code page 1252 bytes.
// The values the choices take are named in SettingValues.h; the defaults
// are those of the settings table (SettingsTable.h), which a new record
// starts with.
struct Settings
{
    Settings();

    int32_t MSG_SHOW;
    int32_t MSG_CLOSE;
    uint32_t MSG_CLOSE_TIMEOUT;
    int32_t BEEP;
    int32_t MSN_LOG;
    int32_t PSOUND;
    int32_t PSOUND_BEFORE;
    int32_t PSOUND_AFTER;
    std::string MSN_1;
    std::string MSN_2;
    std::string MSN_3;
    int32_t LINE;
    std::string CALLMONITOR_HOST;
    int32_t CALLMONITOR_PORT;
    int32_t NOTIFY;
    // The home country, whose numbers are matched whatever their form (an
    // ISO 3166 code, "NO").
    std::string COUNTRY;
    // Calls shared through an MQTT broker: published (MQTT), and received
    // as a line (LINE 3). The broker, the login, TLS with an optional CA
    // certificate, the first topic level(s), Home Assistant's discovery,
    // and the host whose calls are received (empty: every host).
    int32_t MQTT;
    std::string MQTT_HOST;
    int32_t MQTT_PORT;
    std::string MQTT_USER;
    std::string MQTT_PASSWORD;
    int32_t MQTT_TLS;
    std::string MQTT_CAFILE;
    std::string MQTT_PREFIX;
    int32_t MQTT_HA;
    std::string MQTT_FILTER;
    // This desktop's name in the topics; empty: the machine's host name.
    std::string MQTT_NAME;
    // The extensions of the router's answering machines, as numbers and
    // ranges ("40-49", "40-49,600"): a call taken there was not taken by
    // anyone in the house.
    std::string VOICEMAIL_EXTENSIONS;
    // The language of the windows from the next start: "nb", "en" or "de"
    // (Languages.h); empty: the desktop's language.
    std::string LANGUAGE;
    std::string IntroFile;
    std::string OutroFile;
};

// The longest MSN that fits its stored value (19 characters and a zero).
constexpr size_t kMaxMsnLength = 19;
// The longest host name of the call monitor (a DNS name has at most 253).
constexpr size_t kMaxHostLength = 255;
// An ISO 3166 country code.
constexpr size_t kCountryLength = 2;
// The longest MQTT user name, password, topic prefix and host filter.
constexpr size_t kMaxMqttTextLength = 255;
// The longest path of a CA certificate file.
constexpr size_t kMaxPathLength = 4095;
// The longest list of answering machines' extensions.
constexpr size_t kMaxExtensionsLength = 255;
// The longest language tag.
constexpr size_t kMaxLanguageLength = 35;

void SetDefaultSettings(Settings& settings);

// Defaults first, then whatever the store holds. On the first start (the
// store has no key yet) the defaults are written.
void LoadSettings(Settings& settings, SettingsStore& store);

// Writes every stored field. False when the store could not be written.
bool SaveSettings(const Settings& settings, SettingsStore& store);
