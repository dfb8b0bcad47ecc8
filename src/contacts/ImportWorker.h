#pragma once

#include "contacts/ContactTransfer.h"
#include "contacts/ImportProgress.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QObject;
class PhoneNumbers;

// Reads a contact file and plans its import on a thread of its own, so
// that the program's thread goes on recording calls meanwhile. The outcome
// is handed to `done` on the thread of `receiver`, through its event loop.
//
// Destroying the worker cancels the work and does not wait for the file to
// be read: the thread stops at its next line or contact and ends by itself,
// holding nothing of its owner's. A program that is ending is held up by it
// at most a moment.
class ImportWorker
{
public:
    ImportWorker(QObject* receiver, std::function<void(ImportOutcome)> done);
    ~ImportWorker();
    ImportWorker(const ImportWorker&) = delete;
    ImportWorker& operator=(const ImportWorker&) = delete;

    // Starts reading `path` and planning it against `book` (the phone book
    // in file order).
    void start(const QString& path, std::vector<PhoneBookEntry> book, const PhoneNumbers& numbers);

    // The outcome will not come; the thread stops soon.
    void cancel();

    const ImportProgress& progress() const;

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
};
