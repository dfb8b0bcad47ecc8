#pragma once

#include <cstdint>

// The values the choice settings take, named. Choices count from 1 in the
// order of their buttons in the settings dialog; the on/off settings keep the
// numbers they have always been stored with (PSOUND and NOTIFY use 2 for on,
// PSOUND_BEFORE and PSOUND_AFTER 1).

// MSG_SHOW: when a call opens the popup.
namespace MsgShow {
enum : int32_t
{
    Always = 1,
    IfNumberDelivered = 2,
    Never = 3,
};
}

// MSG_CLOSE: whether the popup closes by itself after MSG_CLOSE_TIMEOUT s.
namespace MsgClose {
enum : int32_t
{
    Never = 1,
    AfterTimeout = 2,
};
}

// BEEP: when a call beeps.
namespace Beep {
enum : int32_t
{
    Always = 1,
    IfNumberDelivered = 2,
    IfNoPersonalSound = 3,
    Never = 4,
};
}

// PSOUND: the caller's personal sound (with intro and outro) is played.
namespace PersonalSounds {
enum : int32_t
{
    Off = 1,
    On = 2,
};
}

// PSOUND_BEFORE and PSOUND_AFTER: the intro before and the outro after it.
namespace IntroOutro {
enum : int32_t
{
    On = 1,
    Off = 2,
};
}

// NOTIFY: a desktop notification for every announced call.
namespace Notify {
enum : int32_t
{
    Off = 1,
    On = 2,
};
}

// MQTT, MQTT_TLS and MQTT_HA: sharing calls through an MQTT broker, over TLS,
// and announcing them to home automation.
namespace Sharing {
enum : int32_t
{
    Off = 1,
    On = 2,
};
}

// LINE: which line is watched.
namespace LineKind {
enum : int32_t
{
    Capi = 1,        // an ISDN card, or a router with CAPI over TCP
    CallMonitor = 2, // the router's call monitor at CALLMONITOR_HOST:CALLMONITOR_PORT
    Mqtt = 3,        // calls that other desktops share through the MQTT broker
};
}

// MSN_LOG: which MSNs are logged, as bits; every bit set means every call,
// whatever MSN_1 to MSN_3 hold.
namespace MsnLog {
enum : int32_t
{
    None = 0,
    Msn1 = 1,
    Msn2 = 2,
    Msn3 = 4,
    All = 7,
};
}
