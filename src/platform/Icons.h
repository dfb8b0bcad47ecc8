#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures, by the resource numbers the windows use them
// by: 101, 119, 120 (tray, per mode), 111, 117 (phone book rows), 118 (the
// large caller-ID picture), 123, 124, 125 (play, record, delete).
namespace icons {

QIcon icon(int id);
QPixmap pixmap(int id, int size);
// The picture with a mark in its upper right corner (a red dot with a white
// rim): something new waits to be seen.
QIcon markedIcon(int id);

} // namespace icons
