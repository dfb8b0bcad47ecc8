#include "capi/LineKeeper.h"

#include "capi/CapiApi.h"
#include "capi/CapiTexts.h"

#include <QSocketNotifier>
#include <poll.h>

namespace {

// How soon a socket holding part of a frame is looked at again.
constexpr int kPartialFrameCheckMs = 20;
// An attempt makes a few calls into the library, each bounded by the call
// limit; one that has not ended after this many limits never will.
constexpr int kCallLimitsPerAttempt = 3;

bool readable(int fd)
{
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN) != 0;
}

QByteArray bytesOf(const std::array<std::uint8_t, CapiLink::kNumberCopySize>& copy)
{
    return QByteArray(reinterpret_cast<const char*>(copy.data()), int(copy.size()));
}

} // namespace

LineKeeper::LineKeeper(CapiApi& api, LineTiming timing, Execution execution, CapiWorkers* workers,
                       QObject* parent)
    : Line(parent), m_api(api), m_execution(execution),
      m_recovery(std::move(timing),
                 [this] {
                     if (m_state == State::Lost && m_wantOn && !m_attempt && !m_waitingForWorkers)
                         startAttempt();
                 }),
      m_workers(workers)
{
    if (m_workers == nullptr) {
        m_ownWorkers = std::make_unique<CapiWorkers>();
        m_workers = m_ownWorkers.get();
    }
    connect(m_workers, &CapiWorkers::freed, this, &LineKeeper::workersFreed);
    m_link = newLink();
    m_partialFrameCheck.setSingleShot(true);
    connect(&m_partialFrameCheck, &QTimer::timeout, this, &Line::callsWaiting);
    m_giveUp.setSingleShot(true);
    connect(&m_giveUp, &QTimer::timeout, this, &LineKeeper::giveUp);
}

LineKeeper::~LineKeeper()
{
    m_shutDown = true;
    // Waited for here: it is bounded by the call limit.
    m_attempt.reset();
    m_workers->release(this);
    if (m_link->isRegistered())
        releaseQuietly();
}

std::shared_ptr<CapiLink> LineKeeper::newLink()
{
    auto link = std::make_shared<CapiLink>(m_api);
    link->setFatalHandler([this](const QString& text) {
        if (!m_capturing && m_fatal)
            m_fatal(text);
    });
    return link;
}

void LineKeeper::setReport(std::function<void(const QString&)> report)
{
    m_recovery.setReport(std::move(report));
}

void LineKeeper::setFatalHandler(std::function<void(const QString&)> handler)
{
    m_fatal = std::move(handler);
}

bool LineKeeper::startUp()
{
    m_wantOn = true;
    // Not captured: at start-up a failure keeps its message and ends the
    // program.
    if (!m_link->RegisterWithCapi())
        return false;
    m_link->ListenAll(CapiLink::kCipMaskAll);
    if (!m_link->isRegistered())
        return false;
    becomeUp();
    return true;
}

void LineKeeper::poll()
{
    handOnDrainedCalls();
    if (m_state != State::Up)
        return;
    const CapiLink::Fetched fetched = m_link->fetchOne();
    switch (fetched.kind) {
    case CapiLink::Fetched::Kind::Nothing:
    case CapiLink::Fetched::Kind::Message:
        wakeAgain(fetched.kind == CapiLink::Fetched::Kind::Message);
        return;
    case CapiLink::Fetched::Kind::LineLost:
        lose(QStringLiteral("the connection to the line is gone"));
        return;
    case CapiLink::Fetched::Kind::Call:
        break;
    }
    // The next registration listens at once, before this one is let go.
    if (fetched.responseLost)
        lose(QStringLiteral("the connection to the line is gone"));
    else
        startAttempt();
    // A call the last hand-over drained from the old registration comes
    // here too: it has been handed on already.
    if (!m_duplicates.isDuplicate(fetched.call, HandOverDuplicates::Clock::now()))
        emitCall(fetched.call);
    handOnDrainedCalls();
}

void LineKeeper::switchOff()
{
    m_wantOn = false;
    m_waitingForWorkers = false;
    if (m_attempt)
        m_attempt->setWanted(false);
    m_recovery.stop();
    m_drained.clear();
    stopWaking();
    // A registration being made is let go by its attempt; one that stands
    // is released now. Leaving the line cannot fail in a way that matters:
    // a connection that is gone is released already.
    if (!m_attempt && m_link->isRegistered())
        releaseQuietly();
    m_state = State::Off;
    emit stateChanged();
}

void LineKeeper::switchOn()
{
    if (m_wantOn || m_shutDown)
        return;
    m_wantOn = true;
    if (m_attempt) {
        // Switched off and on while an attempt runs: its result is wanted
        // again, unless it has let it go already (then its end tries anew).
        m_attempt->setWanted(true);
        setState(State::Connecting);
        return;
    }
    startAttempt();
}

void LineKeeper::shutDown()
{
    m_shutDown = true;
    m_wantOn = false;
    m_waitingForWorkers = false;
    if (m_attempt)
        m_attempt->setWanted(false);
    m_recovery.stop();
    m_drained.clear();
    stopWaking();
    if (!m_attempt && m_link->isRegistered())
        releaseQuietly();
    setState(State::Off);
}

void LineKeeper::startAttempt()
{
    ++m_lastAttempt;
    // The registration's socket is about to change hands.
    stopWaking();
    setState(State::Connecting);
    if (m_execution == Execution::Inline) {
        m_attempt = std::make_unique<CapiAttempt>(m_lastAttempt, m_api, m_link,
                                                  m_recovery.timing().callLimitMs, m_linkLost);
        attemptFinished(m_attempt->runHere());
        return;
    }
    // Another line's worker may still be inside the library: this attempt
    // waits for it to leave.
    if (!m_workers->acquire(this)) {
        m_waitingForWorkers = true;
        return;
    }
    launch();
}

void LineKeeper::workersFreed()
{
    if (!m_waitingForWorkers || !m_workers->acquire(this))
        return;
    m_waitingForWorkers = false;
    if (!m_wantOn || m_shutDown) {
        m_workers->release(this);
        return;
    }
    launch();
}

void LineKeeper::launch()
{
    m_attempt = std::make_unique<CapiAttempt>(m_lastAttempt, m_api, m_link,
                                              m_recovery.timing().callLimitMs, m_linkLost);
    if (m_recovery.timing().callLimitMs > 0)
        m_giveUp.start(m_recovery.timing().callLimitMs * kCallLimitsPerAttempt);
    m_attempt->runOnWorker(
        this, [this](const CapiAttempt::Outcome& outcome) { attemptFinished(outcome); });
}

void LineKeeper::endAttempt()
{
    m_giveUp.stop();
    m_attempt.reset();
    m_workers->release(this);
}

void LineKeeper::attemptFinished(const CapiAttempt::Outcome& outcome)
{
    if (!m_attempt || m_attempt->number() != outcome.attempt)
        return;
    endAttempt();
    emit backgroundWorkEnded();

    // The old registration has been released; the new one is the link now.
    m_link = outcome.link;
    m_linkLost = false;
    m_link->setFatalHandler([this](const QString& text) {
        if (!m_capturing && m_fatal)
            m_fatal(text);
    });
    const HandOver& handOver = outcome.handOver;
    m_duplicates.remember(handOver.drained, HandOverDuplicates::Clock::now());
    // Calls are not seen while the line is switched off.
    if (m_wantOn && !handOver.drained.empty()) {
        m_drained.insert(m_drained.end(), handOver.drained.begin(), handOver.drained.end());
        emit callsWaiting();
    }

    if (m_shutDown || !m_wantOn) {
        // Switched off or ending after the attempt looked: let go now.
        if (m_link->isRegistered())
            releaseQuietly();
        return;
    }
    if (handOver.listenRefused) {
        // As at start-up: a line that will not let the program listen is a
        // set-up to be mended, not a line to wait for.
        if (m_fatal)
            m_fatal(QString::fromUtf8(CapiTexts::kNoListenConf));
        return;
    }
    if (outcome.letGo) {
        // Switched off and on again after it had let its result go.
        startAttempt();
        return;
    }
    if (!handOver.listening) {
        lose(handOver.failure.isEmpty() ? QStringLiteral("the line did not answer")
                                        : handOver.failure);
        return;
    }
    m_recovery.back();
    becomeUp();
}

void LineKeeper::giveUp()
{
    if (!m_attempt || m_execution == Execution::Inline)
        return;
    // What it made it lets go itself, if it ever ends; the link it holds is
    // never touched again from here.
    m_attempt->giveUp(m_workers->givenUp());
    m_attempt.reset();
    m_workers->release(this);
    m_link = newLink();
    m_linkLost = false;
    emit backgroundWorkEnded();
    if (m_wantOn && !m_shutDown)
        lose(QStringLiteral("the line did not answer in time"));
}

void LineKeeper::handOnDrainedCalls()
{
    // Each is recorded at once; those drained meanwhile join the queue.
    while (!m_drained.empty() && m_wantOn) {
        const CapiLink::Call call = m_drained.front();
        m_drained.pop_front();
        emitCall(call);
    }
}

void LineKeeper::emitCall(const CapiLink::Call& call)
{
    emit incomingCall(LineCall{bytesOf(call.calling), bytesOf(call.called), {}, true});
}

void LineKeeper::becomeUp()
{
    setState(State::Up);
    startWaking();
}

void LineKeeper::lose(const QString& why)
{
    m_linkLost = true;
    stopWaking();
    // The state first, so that whoever is told of the change sees it.
    m_state = State::Lost;
    m_recovery.lost(why);
    emit stateChanged();
}

void LineKeeper::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged();
}

void LineKeeper::releaseQuietly()
{
    m_capturing = true;
    m_link->ReleaseCapi();
    m_capturing = false;
}

void LineKeeper::startWaking()
{
    stopWaking();
    const int fd = m_api.descriptor(m_link->applId());
    if (fd < 0)
        return;
    m_wake = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
    connect(m_wake, &QSocketNotifier::activated, this, [this] {
        // Quiet until the message has been fetched: the socket stays
        // readable until then.
        m_wake->setEnabled(false);
        emit callsWaiting();
    });
}

void LineKeeper::stopWaking()
{
    m_partialFrameCheck.stop();
    if (m_wake == nullptr)
        return;
    // Possibly from inside its own signal: deleted from the event loop.
    m_wake->setEnabled(false);
    m_wake->deleteLater();
    m_wake = nullptr;
}

void LineKeeper::wakeAgain(bool fetchedSomething)
{
    if (m_state != State::Up || m_wake == nullptr)
        return;
    if (!fetchedSomething && readable(int(m_wake->socket()))) {
        // Part of a frame: the socket stays readable until the rest comes,
        // so waking on it would spin. Look again shortly; a rest that never
        // comes ends as a lost line (the frame limit).
        m_wake->setEnabled(false);
        m_partialFrameCheck.start(kPartialFrameCheckMs);
        return;
    }
    m_wake->setEnabled(true);
}
