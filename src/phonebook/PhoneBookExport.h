#pragma once

#include "phonebook/PhoneBook.h"

#include <QString>
#include <vector>

class QWidget;

// "Eksporter katalogen…": the phone book as vCard 3.0 in a file the user
// chooses; a short message says where it went, or why it did not.
void exportPhoneBookFile(QWidget* owner, const std::vector<PhoneBookEntry>& entries);
// The same for what "PhoneBk.dat" in the data directory holds (from the menu
// bar, with no phone book window open).
void exportPhoneBookFile(QWidget* owner, const QString& dataDir);
