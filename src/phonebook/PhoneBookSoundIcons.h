#pragma once

#include <QString>

class PhoneBookList;

// Sets every row's sound icon: 1 when the row's number has a personal sound
// file in "sound/" (letter case aside, as PersonalSoundExists answers), 0
// when it has none. The directory is listed once, not searched once per
// row, so a book of many thousand entries refreshes at once.
void RefreshSoundIcons(PhoneBookList& list, const QString& dataDir);
