#pragma once

// The texts of the fatal CAPI failures, shown in the "FEIL" box.
namespace CapiTexts {

inline constexpr const char kNotInstalled[] =
    "Ingen ISDN kort og/eller CAPI 2.0 32-bit driver installert !";
inline constexpr const char kNotRegistered[] = "Ringvakt ikke registrert av CAPI!";
inline constexpr const char kNotReleased[] = "Ringvakt ikke deregistrert av CAPI !";
inline constexpr const char kUnknownControllerCount[] = "Ukjent antall ISDN-kort !";
inline constexpr const char kNoListenConf[] = "Ingen LISTEN_CONF !";

} // namespace CapiTexts
