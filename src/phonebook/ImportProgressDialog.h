#pragma once

#include "contacts/ContactTransfer.h"

#include <QString>
#include <optional>
#include <vector>

class PhoneNumbers;
class QWidget;

// Reads the contact file and plans its import into `book` (the phone book
// in file order) on a worker, while a progress dialog over `parent` shows
// how far it has come. The program's thread goes on meanwhile: calls are
// recorded as they come. Nothing when "Avbryt" was pressed or the program
// is ending; the worker is then left to stop by itself.
std::optional<ImportOutcome> planImportShowingProgress(QWidget* parent, const QString& path,
                                                       std::vector<PhoneBookEntry> book,
                                                       const PhoneNumbers& numbers);
