#pragma once

#include "settings/Settings.h"

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>

// The stored settings in one table: the loader, the saver and the dialog all
// read it, so a new setting is one new row here (and a field in Settings).
// Rows are in the order the values are written.
enum class SettingKind
{
    Signed32,
    Unsigned32,
    Text
};

struct SettingDef
{
    const char* name;
    SettingKind kind;
    // Exactly one of the three fields is set, the one that fits `kind`.
    int32_t Settings::*signedField;
    uint32_t Settings::*unsignedField;
    std::string Settings::*textField;
    // Numbers: the default. Texts: unused.
    int64_t defaultNumber;
    // Texts: the size of the stored buffer, terminating zero included.
    size_t bufferSize;
    // Texts: the default.
    const char* defaultText = "";
    // Numbers: the values that make sense; a stored value outside them
    // loads as the default. Most settings take any value (their readers
    // decide what an unexpected one means).
    int64_t minNumber = INT64_MIN;
    int64_t maxNumber = INT64_MAX;
    // Texts whose default depends on the machine: where it comes from (then
    // defaultText is not used).
    std::string (*defaultTextOf)() = nullptr;
};

constexpr SettingDef signedSetting(const char* name, int32_t Settings::*field, int32_t def)
{
    return {name, SettingKind::Signed32, field, nullptr, nullptr, def, 0};
}

constexpr SettingDef machineTextSetting(const char* name, std::string Settings::*field,
                                        size_t bufferSize, std::string (*defaultOf)())
{
    return {name, SettingKind::Text, nullptr,   nullptr,  field, 0, bufferSize,
            "",   INT64_MIN,         INT64_MAX, defaultOf};
}

constexpr SettingDef rangedSetting(const char* name, int32_t Settings::*field, int32_t def,
                                   int32_t min, int32_t max)
{
    return {name, SettingKind::Signed32, field, nullptr, nullptr, def, 0, "", min, max};
}

constexpr SettingDef unsignedSetting(const char* name, uint32_t Settings::*field, uint32_t def)
{
    return {name, SettingKind::Unsigned32, nullptr, field, nullptr, def, 0};
}

constexpr SettingDef textSetting(const char* name, std::string Settings::*field,
                                 size_t bufferSize = kMaxMsnLength + 1, const char* def = "")
{
    return {name, SettingKind::Text, nullptr, nullptr, field, 0, bufferSize, def};
}

// The home country of the user's locale ("NO" when it names none).
std::string localeCountry();

inline constexpr std::array<SettingDef, 29> kSettingsTable = {{
    signedSetting("MSG_SHOW", &Settings::MSG_SHOW, MsgShow::Always),
    signedSetting("MSG_CLOSE", &Settings::MSG_CLOSE, MsgClose::Never),
    unsignedSetting("MSG_CLOSE_TIMEOUT", &Settings::MSG_CLOSE_TIMEOUT, 5),
    signedSetting("BEEP", &Settings::BEEP, Beep::Always),
    signedSetting("MSN_LOG", &Settings::MSN_LOG, MsnLog::All),
    signedSetting("PSOUND", &Settings::PSOUND, PersonalSounds::Off),
    signedSetting("PSOUND_BEFORE", &Settings::PSOUND_BEFORE, IntroOutro::Off),
    signedSetting("PSOUND_AFTER", &Settings::PSOUND_AFTER, IntroOutro::Off),
    textSetting("MSN_1", &Settings::MSN_1),
    textSetting("MSN_2", &Settings::MSN_2),
    textSetting("MSN_3", &Settings::MSN_3),
    signedSetting("LINE", &Settings::LINE, LineKind::Capi),
    textSetting("CALLMONITOR_HOST", &Settings::CALLMONITOR_HOST, kMaxHostLength + 1, "fritz.box"),
    rangedSetting("CALLMONITOR_PORT", &Settings::CALLMONITOR_PORT, 1012, 1, 65535),
    signedSetting("NOTIFY", &Settings::NOTIFY, Notify::Off),
    machineTextSetting("COUNTRY", &Settings::COUNTRY, kCountryLength + 1, &localeCountry),
    signedSetting("MQTT", &Settings::MQTT, Sharing::Off),
    textSetting("MQTT_HOST", &Settings::MQTT_HOST, kMaxHostLength + 1, ""),
    rangedSetting("MQTT_PORT", &Settings::MQTT_PORT, 1883, 1, 65535),
    textSetting("MQTT_USER", &Settings::MQTT_USER, kMaxMqttTextLength + 1, ""),
    textSetting("MQTT_PASSWORD", &Settings::MQTT_PASSWORD, kMaxMqttTextLength + 1, ""),
    signedSetting("MQTT_TLS", &Settings::MQTT_TLS, Sharing::Off),
    textSetting("MQTT_CAFILE", &Settings::MQTT_CAFILE, kMaxPathLength + 1, ""),
    textSetting("MQTT_PREFIX", &Settings::MQTT_PREFIX, kMaxMqttTextLength + 1, "ringvakt"),
    signedSetting("MQTT_HA", &Settings::MQTT_HA, Sharing::On),
    textSetting("MQTT_FILTER", &Settings::MQTT_FILTER, kMaxMqttTextLength + 1, ""),
    textSetting("MQTT_NAME", &Settings::MQTT_NAME, kMaxMqttTextLength + 1, ""),
    textSetting("VOICEMAIL_EXTENSIONS", &Settings::VOICEMAIL_EXTENSIONS, kMaxExtensionsLength + 1,
                "40-49"),
    textSetting("LANGUAGE", &Settings::LANGUAGE, kMaxLanguageLength + 1, ""),
}};

// The fixed names of the intro and outro sounds in "sound/"; never stored.
inline constexpr const char* kIntroFileName = "Intro.wav";
inline constexpr const char* kOutroFileName = "Outro.wav";
