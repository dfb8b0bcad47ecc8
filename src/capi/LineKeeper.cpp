#include "capi/LineKeeper.h"

#include <QLocale>
#include <cstdio>

LineKeeper::LineKeeper(CapiLink& link, LineTiming timing, Execution execution, QObject* parent)
    : Line(parent), m_link(link), m_execution(execution), m_recovery(std::move(timing), [this] {
          if (m_state == State::Lost)
              startAttempt(m_link.isRegistered());
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
    m_link.setRenewalHandler([this](CapiLink::Renewal renewal) { onRenewal(renewal); });
    m_link.setCallHandler([this] {
        emit incomingCall(QByteArray(reinterpret_cast<const char*>(m_link.callingNumberCopy()),
                                     int(CapiLink::kNumberCopySize)),
                          QByteArray(reinterpret_cast<const char*>(m_link.calledNumberCopy()),
                                     int(CapiLink::kNumberCopySize)));
    });
}

LineKeeper::~LineKeeper()
{
    m_shutDown = true;
    joinWorker();
    if (m_link.isRegistered())
        releaseQuietly();
    m_link.setRenewalHandler({});
    m_link.setFatalHandler({});
    m_link.setCallHandler({});
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
    // Not captured: at start-up a failure keeps its message and ends the
    // program.
    if (!m_link.RegisterWithCapi())
        return false;
    m_link.ListenAll(CapiLink::kCipMaskAll);
    if (!m_link.isRegistered())
        return false;
    setState(State::Up);
    return true;
}

void LineKeeper::poll()
{
    if (m_state == State::Up)
        m_link.PollCapi();
}

void LineKeeper::switchOff()
{
    m_recovery.stop();
    const State was = m_state;
    setState(State::Off);
    // A registration in progress is released when it has been made
    // (attemptFinished); one that stands is released now. Leaving the line
    // cannot fail in a way that matters: a connection that is gone is
    // released already.
    if (was != State::Connecting && m_link.isRegistered())
        releaseQuietly();
    emit stateChanged();
}

void LineKeeper::switchOn()
{
    if (m_state != State::Off)
        return;
    startAttempt(false);
}

void LineKeeper::shutDown()
{
    m_shutDown = true;
    m_recovery.stop();
    if (m_state != State::Connecting && m_link.isRegistered())
        releaseQuietly();
    setState(State::Off);
}

void LineKeeper::onRenewal(CapiLink::Renewal renewal)
{
    if (m_shutDown || m_state == State::Off)
        return;
    if (renewal == CapiLink::Renewal::LineLost) {
        lose(QStringLiteral("the connection to the line is gone"));
        return;
    }
    // After every call: release, register and listen anew, in the
    // background so that a line that stops answering cannot freeze the
    // windows.
    startAttempt(true);
}

void LineKeeper::startAttempt(bool releaseFirst)
{
    if (m_state == State::Connecting)
        return;
    setState(State::Connecting);
    if (m_execution == Execution::Inline) {
        QString failure;
        const bool ok = registerAndListen(releaseFirst, &failure);
        attemptFinished(ok, failure);
        return;
    }
    joinWorker();
    m_worker = std::thread([this, releaseFirst] {
        QString failure;
        const bool ok = registerAndListen(releaseFirst, &failure);
        QMetaObject::invokeMethod(
            this,
            [this, ok, failure] {
                joinWorker();
                attemptFinished(ok, failure);
            },
            Qt::QueuedConnection);
    });
}

bool LineKeeper::registerAndListen(bool releaseFirst, QString* failure)
{
    m_capturedFailure.clear();
    m_capturing = true;
    if (releaseFirst) {
        // The registration of a line that is gone cannot be released; the
        // library drops it all the same. What counts is the new one.
        m_link.ReleaseCapi();
        m_capturedFailure.clear();
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
    m_capturing = false;
    *failure = m_capturedFailure;
    return ok;
}

void LineKeeper::attemptFinished(bool ok, const QString& failure)
{
    if (m_shutDown || m_state != State::Connecting) {
        // Switched off or ending meanwhile: what was made is let go.
        if (ok && m_link.isRegistered())
            releaseQuietly();
        return;
    }
    if (!ok) {
        lose(failure.isEmpty() ? QStringLiteral("the line did not answer") : failure);
        return;
    }
    m_recovery.back();
    setState(State::Up);
}

void LineKeeper::lose(const QString& why)
{
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

void LineKeeper::joinWorker()
{
    if (m_worker.joinable())
        m_worker.join();
}
