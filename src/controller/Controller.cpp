#include "controller/Controller.h"

#include "calllog/CallLog.h"
#include "line/Line.h"
#include "phonebook/PhoneBookFile.h"
#include "platform/Report.h"
#include "platform/SafeFile.h"
#include "platform/SoundFiles.h"
#include "platform/SoundOutput.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <climits>
#include <cstdio>
#include <cstdlib>

Controller::Controller(const ControllerParts& parts, QObject* parent)
    : QObject(parent), m_parts(parts), m_settings(std::make_unique<Settings>()),
      m_callLog(std::make_unique<CallLog>(parts.dataDir)), m_outcomes(*m_callLog),
      m_announcer(AnnouncingParts{*m_settings, parts.sound, parts.popup, *this, parts.clock,
                                  parts.dataDir, parts.notifier}),
      m_recorder(RecorderParts{*m_settings, *m_callLog, m_announcer, parts.clock, parts.dataDir,
                               parts.lineTiming}),
      m_tracker(TrackerParts{*m_settings, *m_callLog, m_outcomes,
                             [this] { return m_recorder.publisher(); }, parts.missedNotifier}),
      m_lines(LineParts{parts.capi, parts.clock, parts.lineTiming, parts.lineInBackground})
{
    m_fatal = [](const QString& text) {
        std::fprintf(stderr, "FEIL: %s\n", text.toLocal8Bit().constData());
        std::fflush(nullptr);
        std::_Exit(1);
    };
    m_pollTimer.setInterval(kPollIntervalMs);
    m_closeTimer.setSingleShot(true);
    connect(&m_pollTimer, &QTimer::timeout, this, &Controller::pollTick);
    connect(&m_closeTimer, &QTimer::timeout, this, &Controller::closeTimerExpired);

    // While a window's "play" button waits for its sound, the windows keep
    // being painted and calls keep being recorded; user input waits.
    m_parts.sound.setWaitHook(
        [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    // What waited for an announcement runs after it.
    m_announcer.setAnnouncedHandler([this] { runHeldBack(); });

    connect(&m_recorder, &CallRecorder::notice, this, &Controller::notice);
    connect(&m_recorder, &CallRecorder::problemChanged, this, &Controller::problemChanged);
    m_lines.setFatalHandler([this](const QString& text) { m_fatal(text); });
    connect(&m_lines, &LineSlot::notice, this, &Controller::notice);
    connect(&m_lines, &LineSlot::stateChanged, this, &Controller::stateChanged);
    connect(&m_lines, &LineSlot::incomingCall, this, &Controller::recordCall);
    connect(&m_lines, &LineSlot::callEnded, this, &Controller::endCall);
    connect(&m_recorder, &CallRecorder::publisherChanged, &m_tracker,
            &OutcomeTracker::shareMissedCount);
    // Handed on from the event loop, not from inside the line's own handler
    // of the data that brought them.
    connect(&m_lines, &LineSlot::callsWaiting, this, &Controller::deliverWaitingCalls,
            Qt::QueuedConnection);
}

Controller::~Controller()
{
    m_parts.sound.setWaitHook({});
}

void Controller::setFatalHandler(FatalHandler handler)
{
    m_fatal = std::move(handler);
}

bool Controller::start()
{
    // Nobody else saves these files while this program runs (it holds the
    // single-instance lock): what a killed save left beside them goes.
    const int leftovers = removeLeftoverSaves(m_callLog->filePath()) +
                          removeLeftoverSaves(phonebookfile::path(m_parts.dataDir)) +
                          removeLeftoverSaves(m_outcomes.filePath());
    if (leftovers > 0)
        reportToStandardError(
            QStringLiteral("removed %1 temporary file(s) left by interrupted saves")
                .arg(leftovers));

    // The settings say which line to watch, so they come first.
    LoadSettings(*m_settings, m_parts.settingsStore);
    m_lines.create(*m_settings);

    bool fatal = false;
    const FatalHandler program = m_fatal;
    m_fatal = [&fatal, program](const QString& text) {
        fatal = true;
        program(text);
    };
    // Register and listen on every controller before anything else: a
    // program that cannot reach its CAPI line says so at once. (A call
    // monitor is never fatal: it connects in the background.)
    const bool up = line().startUp();
    m_fatal = program;
    if (fatal || !up)
        return false;

    m_pollTimer.start();
    m_recorder.updatePublisher();
    m_callLog->setCountry(QString::fromStdString(m_settings->COUNTRY));
    LoadCallLog(*m_callLog);
    m_outcomes.load();
    QDir(m_parts.dataDir).mkpath(soundfiles::soundDir(m_parts.dataDir));
    return true;
}

void Controller::SetOperatingMode(OperatingMode mode)
{
    const OperatingMode was = m_mode;
    m_mode = mode;
    // What waits to be announced is not, once the user has said so.
    if (mode != OperatingMode::Enabled)
        m_announcer.dropWaiting();
    if (mode != OperatingMode::Disabled) {
        if (was == OperatingMode::Disabled) {
            // Registered and listening again, in the background; a line
            // that does not answer is the "no line" state, not the end.
            m_pollTimer.start();
            line().switchOn();
        }
    } else if (was != OperatingMode::Disabled) {
        m_pollTimer.stop();
        line().switchOff();
    }
    emit stateChanged();
}

void Controller::Shutdown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    m_pollTimer.stop();
    m_closeTimer.stop();
    m_heldBack.clear();
    // The sound stops at once; what was recorded is on disk already.
    m_announcer.stop();
    line().shutDown();
    m_recorder.stopPublisher();
    emit shuttingDown();
    QCoreApplication::exit(0);
}

bool Controller::busy() const
{
    return m_announcer.busy() || m_parts.sound.isPlaying();
}

void Controller::whenIdle(std::function<void()> action)
{
    if (m_shutDown)
        return;
    if (busy()) {
        m_heldBack.push_back(std::move(action));
        return;
    }
    action();
}

void Controller::runHeldBack()
{
    if (busy())
        return;
    if (m_closeHeldBack) {
        m_closeHeldBack = false;
        m_parts.popup.closeCallPopup();
    }
    if (m_heldBack.empty())
        return;
    // From the event loop, not from inside the poll tick that held them.
    QTimer::singleShot(0, this, [this] {
        while (!m_heldBack.empty() && !busy() && !m_shutDown) {
            const std::function<void()> action = std::move(m_heldBack.front());
            m_heldBack.pop_front();
            action();
        }
    });
}

void Controller::settingsChanged()
{
    if (m_shutDown)
        return;
    // Another home country names callers anew.
    const QString country = QString::fromStdString(m_settings->COUNTRY);
    if (country.toUpper() != m_callLog->numbers().country()) {
        m_callLog->setCountry(country);
        ReloadCallLog(*m_callLog);
    }
    m_recorder.updatePublisher();
    if (!m_lines.differs(*m_settings))
        return;
    m_lines.replace(*m_settings);
    if (m_mode != OperatingMode::Disabled)
        line().switchOn();
    emit stateChanged();
}

void Controller::deliverWaitingCalls()
{
    if (m_mode == OperatingMode::Disabled)
        return;
    serveLine();
}

void Controller::serveLine()
{
    if (m_shutDown)
        return;
    // Served whatever is being announced; only a wake from inside the line's
    // own serving waits for its end.
    if (m_inPoll) {
        m_lineWaiting = true;
        return;
    }
    m_lineWaiting = false;
    m_inPoll = true;
    line().poll();
    m_inPoll = false;
    if (m_lineWaiting)
        QMetaObject::invokeMethod(this, &Controller::deliverWaitingCalls, Qt::QueuedConnection);
}

void Controller::pollTick()
{
    // A safety net: the lines wake the program when something arrives, and
    // the end of an announcement runs what waited for it (a window's "play"
    // button that held work back leaves it to this tick).
    serveLine();
    runHeldBack();
}

void Controller::closeTimerExpired()
{
    m_closeTimer.stop();
    if (busy()) {
        m_closeHeldBack = true;
        return;
    }
    m_parts.popup.closeCallPopup();
}

void Controller::arm(quint64 milliseconds)
{
    // The delay comes from a setting without a range check: capped at what a
    // timer takes (about 24 days) so a huge value never wraps to zero.
    const int interval = milliseconds > quint64(INT_MAX) ? INT_MAX : int(milliseconds);
    m_closeTimer.start(interval);
}

void Controller::recordCall(const LineCall& call)
{
    if (m_shutDown || m_mode == OperatingMode::Disabled)
        return;
    const RecordedRow recorded = m_recorder.record(call, m_mode);
    m_tracker.follow(call, recorded.row, recorded.shared);
}

void Controller::endCall(const LineCallEnd& end)
{
    // Also when the line is being left: a call it can no longer follow is
    // forgotten.
    if (!m_shutDown)
        m_tracker.end(end, m_mode == OperatingMode::Enabled);
}
