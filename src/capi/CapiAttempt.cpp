#include "capi/CapiAttempt.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <mutex>

// What the keeper's thread and the worker share.
struct CapiAttempt::Shared
{
    Shared(quint64 attemptNumber, CapiApi& capi, std::shared_ptr<CapiLink> old, int limitMs,
           bool oldLost)
        : number(attemptNumber), api(capi), from(std::move(old)), callLimitMs(limitMs),
          fromLost(oldLost)
    {}

    const quint64 number;
    CapiApi& api;
    std::shared_ptr<CapiLink> from;
    const int callLimitMs;
    const bool fromLost;
    std::atomic<bool> wanted{true};
    std::atomic<bool> letGo{false};

    std::mutex mutex;
    // Where the outcome goes, while anyone waits for it.
    QObject* context = nullptr;
    Finished finished;
    // Set when the attempt was given up: the count of such workers still
    // running, which this one leaves when it ends.
    std::shared_ptr<std::atomic<int>> givenUp;
};

CapiAttempt::CapiAttempt(quint64 number, CapiApi& api, std::shared_ptr<CapiLink> from,
                         int callLimitMs, bool fromLost)
    : m_shared(std::make_shared<Shared>(number, api, std::move(from), callLimitMs, fromLost))
{}

CapiAttempt::~CapiAttempt()
{
    forget();
    if (m_worker.joinable())
        m_worker.join();
}

quint64 CapiAttempt::number() const
{
    return m_shared->number;
}

void CapiAttempt::setWanted(bool wanted)
{
    m_shared->wanted = wanted;
}

CapiAttempt::Outcome CapiAttempt::run(Shared& shared)
{
    Outcome outcome;
    outcome.attempt = shared.number;
    outcome.link = std::make_shared<CapiLink>(shared.api);
    outcome.handOver = handOverLine(
        *shared.from, *outcome.link,
        [&shared] {
            const bool wanted = shared.wanted;
            if (!wanted)
                shared.letGo = true;
            return wanted;
        },
        shared.callLimitMs, shared.fromLost);
    outcome.letGo = shared.letGo;
    return outcome;
}

CapiAttempt::Outcome CapiAttempt::runHere()
{
    return run(*m_shared);
}

void CapiAttempt::runOnWorker(QObject* context, Finished finished)
{
    m_shared->context = context;
    m_shared->finished = std::move(finished);
    m_worker = std::thread([shared = m_shared] {
        const Outcome outcome = run(*shared);
        std::lock_guard<std::mutex> lock(shared->mutex);
        if (shared->context != nullptr) {
            Finished finished = shared->finished;
            QMetaObject::invokeMethod(
                shared->context, [finished, outcome] { finished(outcome); }, Qt::QueuedConnection);
        }
        if (shared->givenUp)
            shared->givenUp->fetch_sub(1);
    });
}

void CapiAttempt::giveUp(std::shared_ptr<std::atomic<int>> givenUp)
{
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        m_shared->context = nullptr;
        m_shared->givenUp = std::move(givenUp);
        m_shared->givenUp->fetch_add(1);
    }
    // What it made it lets go itself, if it ever ends.
    m_shared->wanted = false;
    if (m_worker.joinable())
        m_worker.detach();
}

void CapiAttempt::forget()
{
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    m_shared->context = nullptr;
    m_shared->wanted = false;
}
