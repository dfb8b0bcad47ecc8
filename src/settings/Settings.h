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
    std::string IntroFile;
    std::string OutroFile;
};

// The longest MSN that fits its stored value (19 characters and a zero).
constexpr size_t kMaxMsnLength = 19;
// The longest host name of the call monitor (a DNS name has at most 253).
constexpr size_t kMaxHostLength = 255;
// An ISO 3166 country code.
constexpr size_t kCountryLength = 2;

void SetDefaultSettings(Settings& settings);

// Defaults first, then whatever the store holds. On the first start (the
// store has no key yet) the defaults are written.
void LoadSettings(Settings& settings, SettingsStore& store);

// Writes every stored field. False when the store could not be written.
bool SaveSettings(const Settings& settings, SettingsStore& store);
