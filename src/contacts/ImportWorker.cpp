#include "contacts/ImportWorker.h"

#include "numbers/PhoneNumbers.h"

#include <QMetaObject>
#include <QObject>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// What the worker's thread and its owner share; the thread keeps it alive
// for as long as it runs.
struct ImportWorker::Shared
{
    ImportProgress progress;
    std::mutex mutex;
    std::condition_variable ended;
    bool running = false;
    // Cleared, under the mutex, when the owner goes.
    QObject* receiver = nullptr;
    std::function<void(ImportOutcome)> done;
};

namespace {

// How long a worker that was told to stop is given to notice before its
// owner goes on without it: a line or a contact takes microseconds, a read
// from a stalled network drive may never end.
constexpr std::chrono::milliseconds kStopWait(250);

} // namespace

ImportWorker::ImportWorker(QObject* receiver, std::function<void(ImportOutcome)> done)
    : m_shared(std::make_shared<Shared>())
{
    m_shared->receiver = receiver;
    m_shared->done = std::move(done);
}

ImportWorker::~ImportWorker()
{
    cancel();
    std::unique_lock<std::mutex> lock(m_shared->mutex);
    m_shared->receiver = nullptr;
    m_shared->done = nullptr;
    m_shared->ended.wait_for(lock, kStopWait, [this] { return !m_shared->running; });
}

void ImportWorker::start(const QString& path, std::vector<PhoneBookEntry> book,
                         const PhoneNumbers& numbers)
{
    {
        const std::lock_guard<std::mutex> lock(m_shared->mutex);
        m_shared->running = true;
    }
    std::thread([shared = m_shared, path, book = std::move(book), numbers] {
        ImportOutcome outcome = planImportFrom(path, book, numbers, &shared->progress);
        const std::lock_guard<std::mutex> lock(shared->mutex);
        if (shared->receiver && !shared->progress.stopped()) {
            // Posted under the mutex, so the receiver cannot go meanwhile;
            // an event posted to an object that goes later goes with it.
            QMetaObject::invokeMethod(
                shared->receiver,
                [shared, outcome = std::move(outcome)]() mutable {
                    if (shared->done && !shared->progress.stopped())
                        shared->done(std::move(outcome));
                },
                Qt::QueuedConnection);
        }
        shared->running = false;
        shared->ended.notify_all();
    }).detach();
}

void ImportWorker::cancel()
{
    m_shared->progress.cancelled = true;
}

const ImportProgress& ImportWorker::progress() const
{
    return m_shared->progress;
}
