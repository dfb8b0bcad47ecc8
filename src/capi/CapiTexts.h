#pragma once

#include <QtGlobal>

// The texts of the fatal CAPI failures, shown in the "FEIL" box (which
// translates them; standard error has them as they stand here).
namespace CapiTexts {

inline constexpr const char kNotInstalled[] = QT_TRANSLATE_NOOP(
    "Application", "Ingen ISDN kort og/eller CAPI 2.0 32-bit driver installert !");
inline constexpr const char kNotRegistered[] =
    QT_TRANSLATE_NOOP("Application", "Ringvakt ikke registrert av CAPI!");
inline constexpr const char kNotReleased[] =
    QT_TRANSLATE_NOOP("Application", "Ringvakt ikke deregistrert av CAPI !");
inline constexpr const char kUnknownControllerCount[] =
    QT_TRANSLATE_NOOP("Application", "Ukjent antall ISDN-kort !");
inline constexpr const char kNoListenConf[] =
    QT_TRANSLATE_NOOP("Application", "Ingen LISTEN_CONF !");

} // namespace CapiTexts
