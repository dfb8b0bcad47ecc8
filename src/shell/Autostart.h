#pragma once

#include <QString>

// Starting Ringvakt with the desktop session: a desktop entry in
// $XDG_CONFIG_HOME/autostart (~/.config/autostart) that starts the program
// on the desktop's data directory and lets it wait for the panel's tray.
namespace autostart {

constexpr const char* kDesktopId = "no.tornholt.Ringvakt";

// "$XDG_CONFIG_HOME/autostart/no.tornholt.Ringvakt.desktop"
QString entryPath();

// The entry that starts `program`.
QString entryText(const QString& program);

// Writes or removes the entry; `report` says what was done. False (and a
// report saying why) when it could not be done.
bool enable(const QString& program, QString* report);
bool disable(QString* report);

} // namespace autostart
