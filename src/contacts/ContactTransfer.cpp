#include "contacts/ContactTransfer.h"

#include "calllog/CallLog.h"
#include "contacts/CallLogCsv.h"
#include "contacts/ContactFileMessages.h"
#include "contacts/ContactFileReader.h"
#include "contacts/ImportProgress.h"
#include "contacts/PhoneBookVCard.h"
#include "numbers/PhoneNumbers.h"
#include "outcomes/CallOutcomes.h"
#include "phonebook/PhoneBook.h"
#include "platform/SafeFile.h"

#include <QDir>

namespace {

QString unreadableBookMessage()
{
    return ContactTexts::tr("PhoneBk.dat kunne ikke leses. Katalogen er ikke endret.");
}

} // namespace

std::vector<PhoneBookEntry> entriesOf(const PhoneBookList& book)
{
    std::vector<PhoneBookEntry> entries;
    entries.reserve(size_t(book.size()));
    for (int row = 0; row < book.size(); ++row)
        entries.push_back(book.at(row));
    return entries;
}

ImportOutcome planImportFrom(const QString& path, const std::vector<PhoneBookEntry>& book,
                             const PhoneNumbers& numbers, ImportProgress* progress)
{
    ImportOutcome outcome;
    const ContactList read = readContactFile(path, progress);
    if (read.cancelled) {
        outcome.cancelled = true;
        return outcome;
    }
    if (!read.error.isEmpty()) {
        outcome.message = read.error;
        return outcome;
    }
    outcome.plan = planImport(book, read.contacts, numbers, progress);
    outcome.cancelled = progress && progress->stopped();
    outcome.read = !outcome.cancelled;
    return outcome;
}

void addImported(PhoneBookList& book, const ImportPlan& plan)
{
    book.insertAllSorted(plan.added);
}

ImportOutcome importIntoDataDir(const QString& dataDir, const QString& path,
                                const PhoneNumbers& numbers)
{
    PhoneBookList book;
    if (LoadPhoneBook(book, dataDir) == PhoneBookFileState::Unreadable) {
        ImportOutcome outcome;
        outcome.message = unreadableBookMessage();
        return outcome;
    }
    ImportOutcome outcome = planImportFrom(path, entriesOf(book), numbers);
    if (!outcome.read || outcome.plan.added.empty())
        return outcome;
    addImported(book, outcome.plan);
    outcome.saved = SavePhoneBook(book, dataDir);
    if (!outcome.saved)
        outcome.message = ContactTexts::tr("Katalogen kunne ikke lagres i PhoneBk.dat. "
                                           "Ingen oppføringer er lagt til.");
    return outcome;
}

bool exportPhoneBookFile(const QString& dataDir, const QString& path, QString* error)
{
    PhoneBookList book;
    if (LoadPhoneBook(book, dataDir) == PhoneBookFileState::Unreadable) {
        *error = ContactTexts::tr("PhoneBk.dat kunne ikke leses.");
        return false;
    }
    return writeExportFile(path, phoneBookToVCard(entriesOf(book)), error);
}

bool exportCallLogFile(const QString& dataDir, const PhoneNumbers& numbers, const QString& path,
                       QString* error)
{
    CallLog log(dataDir);
    log.setCountry(numbers.country());
    // A log that is there but cannot be read must not come out as an empty
    // export that looks complete.
    std::string bytes;
    if (readWholeFile(log.filePath(), &bytes) == FileReadState::Unreadable) {
        *error = ContactTexts::tr("CallID.dat kunne ikke leses.");
        return false;
    }
    LoadCallLog(log);
    CallOutcomes outcomes(log);
    outcomes.load();
    return writeExportFile(path, callLogToCsv(log, &outcomes), error);
}

bool writeExportFile(const QString& path, const std::string& bytes, QString* error)
{
    if (replaceFileAtomically(path, bytes))
        return true;
    *error = ContactTexts::tr("%1 kunne ikke skrives.").arg(QDir::toNativeSeparators(path));
    return false;
}
