#pragma once

#include <cstdint>
#include <string>

class SettingsStore;

// Every user choice of the program, in one record. The stored fields carry
// the names of the values they are stored under; IntroFile and OutroFile are
// fixed at start-up and never stored. Text is kept as code page 1252 bytes.
struct Settings
{
    int32_t MSG_SHOW = 1;
    int32_t MSG_CLOSE = 1;
    uint32_t MSG_CLOSE_TIMEOUT = 5;
    int32_t BEEP = 1;
    int32_t MSN_LOG = 7;
    int32_t PSOUND = 1;
    int32_t PSOUND_BEFORE = 2;
    int32_t PSOUND_AFTER = 2;
    std::string MSN_1;
    std::string MSN_2;
    std::string MSN_3;
    // The line: 1 = CAPI (an ISDN card, or a router with CAPI over TCP),
    // 2 = the router's call monitor at CALLMONITOR_HOST:CALLMONITOR_PORT.
    int32_t LINE = 1;
    std::string CALLMONITOR_HOST = "fritz.box";
    int32_t CALLMONITOR_PORT = 1012;
    // Desktop notifications of announced calls: 1 = off, 2 = on.
    int32_t NOTIFY = 1;
    std::string IntroFile = "Intro.wav";
    std::string OutroFile = "Outro.wav";
};

// The longest MSN that fits its stored value (19 characters and a zero).
constexpr size_t kMaxMsnLength = 19;
// The longest host name of the call monitor (a DNS name has at most 253).
constexpr size_t kMaxHostLength = 255;

constexpr int32_t kLineCapi = 1;
constexpr int32_t kLineCallMonitor = 2;

void SetDefaultSettings(Settings& settings);

// Defaults first, then whatever the store holds. On the first start (the
// store has no key yet) the defaults are written.
void LoadSettings(Settings& settings, SettingsStore& store);

// Writes every stored field. False when the store could not be written.
bool SaveSettings(const Settings& settings, SettingsStore& store);
