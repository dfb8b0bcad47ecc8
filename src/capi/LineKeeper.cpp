#include "capi/LineKeeper.h"

#include "capi/CapiApi.h"

#include <QSocketNotifier>
#include <poll.h>

namespace {

// How soon a socket holding part of a frame is looked at again.
constexpr int kPartialFrameCheckMs = 20;

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

LineKeeper::LineKeeper(CapiApi& api, LineTiming timing, Execution execution, QObject* parent)
    : Line(parent), m_api(api), m_link(api), m_execution(execution),
      m_recovery(std::move(timing), [this] {
          if (m_state == State::Lost && m_wantOn && !m_workerRunning)
              startAttempt();
      })
{
    m_link.setFatalHandler([this](const QString& text) {
        if (m_capturing) {
            if (m_capturedFailure.isEmpty())
                m_capturedFailure = text;
            return;
        }
        if (m_fatal)
            m_fatal(text);
    });
    m_partialFrameCheck.setSingleShot(true);
    connect(&m_partialFrameCheck, &QTimer::timeout, this, &Line::callsWaiting);
}

LineKeeper::~LineKeeper()
{
    m_shutDown = true;
    m_wantedAttempt = 0;
    if (m_worker.joinable())
        m_worker.join();
    if (m_link.isRegistered())
        releaseQuietly();
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
    if (!m_link.RegisterWithCapi())
        return false;
    m_link.ListenAll(CapiLink::kCipMaskAll);
    if (!m_link.isRegistered())
        return false;
    becomeUp();
    return true;
}

void LineKeeper::poll()
{
    handOnDrainedCalls();
    if (m_state != State::Up)
        return;
    const CapiLink::Fetched fetched = m_link.fetchOne();
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
    // Listening again before the call is announced: what rings during its
    // sounds waits in the new registration's queue.
    if (fetched.responseLost)
        lose(QStringLiteral("the connection to the line is gone"));
    else
        startAttempt();
    emitCall(fetched.call);
    handOnDrainedCalls();
}

void LineKeeper::switchOff()
{
    m_wantOn = false;
    m_wantedAttempt = 0;
    m_recovery.stop();
    m_drained.clear();
    stopWaking();
    // A registration being made is let go by its attempt; one that stands
    // is released now. Leaving the line cannot fail in a way that matters:
    // a connection that is gone is released already.
    if (!m_workerRunning && m_link.isRegistered())
        releaseQuietly();
    m_state = State::Off;
    emit stateChanged();
}

void LineKeeper::switchOn()
{
    if (m_wantOn || m_shutDown)
        return;
    m_wantOn = true;
    if (m_workerRunning) {
        // Switched off and on while an attempt runs: its result is wanted
        // again, unless it has let it go already (then its end tries anew).
        m_wantedAttempt = m_lastAttempt;
        setState(State::Connecting);
        return;
    }
    startAttempt();
}

void LineKeeper::shutDown()
{
    m_shutDown = true;
    m_wantOn = false;
    m_wantedAttempt = 0;
    m_recovery.stop();
    m_drained.clear();
    stopWaking();
    if (!m_workerRunning && m_link.isRegistered())
        releaseQuietly();
    setState(State::Off);
}

void LineKeeper::startAttempt()
{
    const quint64 attempt = ++m_lastAttempt;
    m_wantedAttempt = attempt;
    // The registration's socket is about to change hands.
    stopWaking();
    setState(State::Connecting);
    if (m_execution == Execution::Inline) {
        attemptFinished(runAttempt(attempt));
        return;
    }
    m_workerRunning = true;
    m_worker = std::thread([this, attempt] {
        const Outcome outcome = runAttempt(attempt);
        QMetaObject::invokeMethod(
            this, [this, outcome] { attemptFinished(outcome); }, Qt::QueuedConnection);
    });
}

LineKeeper::Outcome LineKeeper::runAttempt(quint64 attempt)
{
    Outcome outcome;
    outcome.attempt = attempt;
    m_capturedFailure.clear();
    m_capturing = true;
    if (m_link.isRegistered()) {
        m_link.drain([this](const CapiLink::Call& call) {
            if (m_execution == Execution::Inline)
                callDrained(call);
            else
                QMetaObject::invokeMethod(
                    this, [this, call] { callDrained(call); }, Qt::QueuedConnection);
        });
        // The registration of a line that is gone cannot be released; the
        // library drops it all the same. What counts is the new one.
        m_link.ReleaseCapi();
        m_capturedFailure.clear();
    }
    if (m_wantedAttempt != attempt) {
        outcome.undone = true;
        m_capturing = false;
        return outcome;
    }
    bool ok = m_link.RegisterWithCapi();
    if (ok) {
        const unsigned result = m_link.ListenAll(CapiLink::kCipMaskAll);
        if (result != 0) {
            ok = false;
            if (m_capturedFailure.isEmpty())
                m_capturedFailure = QStringLiteral("the listen request could not be sent (0x%1)")
                                        .arg(result, 4, 16, QLatin1Char('0'));
            m_link.ReleaseCapi();
        }
    }
    if (ok && m_wantedAttempt != attempt) {
        // Switched off (or ending) while it ran: undone here, so the
        // program's thread never has to.
        m_link.ReleaseCapi();
        ok = false;
        outcome.undone = true;
    }
    outcome.kept = ok;
    outcome.failure = m_capturedFailure;
    m_capturing = false;
    return outcome;
}

void LineKeeper::attemptFinished(const Outcome& outcome)
{
    if (m_worker.joinable())
        m_worker.join();
    m_workerRunning = false;
    emit backgroundWorkEnded();

    if (m_shutDown || !m_wantOn || outcome.attempt != m_wantedAttempt) {
        // Switched off or ending after the attempt looked: let go now.
        if (m_link.isRegistered())
            releaseQuietly();
        if (m_wantOn && !m_shutDown)
            startAttempt();
        return;
    }
    if (outcome.undone) {
        // Switched off and on again after it had let its result go.
        startAttempt();
        return;
    }
    if (!outcome.kept) {
        lose(outcome.failure.isEmpty() ? QStringLiteral("the line did not answer")
                                       : outcome.failure);
        return;
    }
    m_recovery.back();
    becomeUp();
}

void LineKeeper::callDrained(const CapiLink::Call& call)
{
    // Calls are not seen while the line is switched off.
    if (!m_wantOn)
        return;
    m_drained.push_back(call);
    emit callsWaiting();
}

void LineKeeper::handOnDrainedCalls()
{
    // Each is handled to its end (sounds included) before the next; those
    // drained meanwhile join the queue.
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
    m_link.ReleaseCapi();
    m_capturedFailure.clear();
    m_capturing = false;
}

void LineKeeper::startWaking()
{
    stopWaking();
    const int fd = m_api.descriptor(m_link.applId());
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
