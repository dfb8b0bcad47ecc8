#pragma once

#include "contacts/ImportPlan.h"

#include <QString>
#include <string>

class PhoneBookList;
class PhoneNumbers;
struct ImportProgress;

// An import from a contact file as far as it went.
struct ImportOutcome
{
    bool read = false;      // the file was read and a plan made
    bool saved = false;     // the new entries are in "PhoneBk.dat"
    bool cancelled = false; // the user stopped it before the plan was made
    QString message;        // why not, when either is false
    ImportPlan plan;
};

// Reads the contacts of `path` and plans what they add to `book` (the
// phone book in file order). `read` is false, with the message, for a file
// that cannot be imported, and with `cancelled` when `progress` was
// cancelled.
ImportOutcome planImportFrom(const QString& path, const std::vector<PhoneBookEntry>& book,
                             const PhoneNumbers& numbers, ImportProgress* progress = nullptr);

// The entries of the list, in its order.
std::vector<PhoneBookEntry> entriesOf(const PhoneBookList& book);

// Puts the plan's entries into the list, each at its place by surname, in
// one step.
void addImported(PhoneBookList& book, const ImportPlan& plan);

// Adds the new contacts of `path` to "<dataDir>/PhoneBk.dat" in one save:
// all of them, or, with a message, none. A phone book that exists but
// cannot be read is not overwritten.
ImportOutcome importIntoDataDir(const QString& dataDir, const QString& path,
                                const PhoneNumbers& numbers);

// The phone book of the data directory as vCard 3.0, written to `path`.
// False with *error when the book cannot be read or the file not written.
bool exportPhoneBookFile(const QString& dataDir, const QString& path, QString* error);

// The call log of the data directory, callers named by the phone book as
// the call log window names them, as CSV written to `path`.
bool exportCallLogFile(const QString& dataDir, const PhoneNumbers& numbers, const QString& path,
                       QString* error);

// Writes an export whole or not at all; false with *error.
bool writeExportFile(const QString& path, const std::string& bytes, QString* error);
