#include "shell/Controller.h"

#include "calllog/CallLog.h"
#include "callmonitor/CallMonitorLine.h"
#include "capi/CapiLink.h"
#include "capi/LineKeeper.h"
#include "line/Line.h"
#include "phonebook/PhoneBookFile.h"
#include "platform/Clock.h"
#include "platform/Cp1252.h"
#include "platform/SafeFile.h"
#include "platform/SoundFiles.h"
#include "platform/SoundOutput.h"
#include "settings/Settings.h"
#include "sharing/CallMessage.h"
#include "sharing/CallPublisher.h"
#include "sharing/MqttLine.h"
#include "shell/SharingSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

// What the line is built from; a change of it replaces the line.
QString lineChoiceOf(const Settings& s)
{
    if (s.LINE == LineKind::Mqtt)
        return QStringLiteral("mqtt\n") + connectionChoiceOf(sharingConfigOf(s));
    if (s.LINE != LineKind::CallMonitor)
        return QStringLiteral("capi");
    return QStringLiteral("callmonitor %1:%2")
        .arg(cp1252::toQString(s.CALLMONITOR_HOST))
        .arg(s.CALLMONITOR_PORT);
}

// The kind of line a call came from, as a shared call names it.
QString lineKindOf(const Settings& s)
{
    if (s.LINE == LineKind::Mqtt)
        return CallMessage::kLineMqtt;
    return s.LINE == LineKind::CallMonitor ? CallMessage::kLineCallMonitor : CallMessage::kLineCapi;
}

} // namespace

Controller::Controller(const ControllerParts& parts, QObject* parent)
    : QObject(parent), m_parts(parts), m_settings(std::make_unique<Settings>()),
      m_callLog(std::make_unique<CallLog>(parts.dataDir)),
      m_announcer(AnnouncingParts{*m_settings, parts.sound, parts.popup, *this, parts.clock,
                                  parts.dataDir, parts.notifier})
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
}

Controller::~Controller()
{
    m_parts.sound.setWaitHook({});
    // Before the members they use go.
    for (const QPointer<Line>& line : m_retiredLines)
        delete line.data();
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
                          removeLeftoverSaves(phonebookfile::path(m_parts.dataDir));
    if (leftovers > 0)
        std::fprintf(stderr, "ringvakt: removed %d temporary file(s) left by interrupted saves\n",
                     leftovers);

    // The settings say which line to watch, so they come first.
    LoadSettings(*m_settings, m_parts.settingsStore);
    createLine();

    bool fatal = false;
    const FatalHandler program = m_fatal;
    m_fatal = [&fatal, program](const QString& text) {
        fatal = true;
        program(text);
    };
    // Register and listen on every controller before anything else: a
    // program that cannot reach its CAPI line says so at once. (A call
    // monitor is never fatal: it connects in the background.)
    const bool up = m_line->startUp();
    m_fatal = program;
    if (fatal || !up)
        return false;

    m_pollTimer.start();
    updatePublisher();
    m_callLog->setCountry(QString::fromStdString(m_settings->COUNTRY));
    LoadCallLog(*m_callLog);
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
            m_line->switchOn();
        }
    } else if (was != OperatingMode::Disabled) {
        m_pollTimer.stop();
        m_line->switchOff();
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
    m_line->shutDown();
    // "offline" for the other desktops and home automation.
    if (m_publisher)
        m_publisher->stop();
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

void Controller::createLine()
{
    const Settings& s = *m_settings;
    m_lineChoice = lineChoiceOf(s);
    if (s.LINE == LineKind::CallMonitor) {
        m_line = std::make_unique<CallMonitorLine>(cp1252::toQString(s.CALLMONITOR_HOST),
                                                   quint16(s.CALLMONITOR_PORT), m_parts.lineTiming);
        connect(m_line.get(), &Line::notice, this, &Controller::notice);
    } else if (s.LINE == LineKind::Mqtt) {
        auto line = std::make_unique<MqttLine>(sharingConfigOf(s), m_parts.lineTiming);
        // A received call's own time is compared with the clock its row is
        // written with.
        line->setClock(m_parts.clock);
        m_line = std::move(line);
        connect(m_line.get(), &Line::notice, this, &Controller::notice);
    } else {
        // Any other value is the line of old.
        auto keeper =
            std::make_unique<LineKeeper>(m_parts.capi, m_parts.lineTiming,
                                         m_parts.lineInBackground ? LineKeeper::Execution::Thread
                                                                  : LineKeeper::Execution::Inline,
                                         &m_capiWorkers);
        keeper->setFatalHandler([this](const QString& text) { m_fatal(text); });
        m_line = std::move(keeper);
    }
    connect(m_line.get(), &Line::stateChanged, this, &Controller::stateChanged);
    connect(m_line.get(), &Line::incomingCall, this, &Controller::recordCall);
    // Handed on from the event loop, not from inside the line's own handler
    // of the data that brought them.
    connect(m_line.get(), &Line::callsWaiting, this, &Controller::deliverWaitingCalls,
            Qt::QueuedConnection);
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
    updatePublisher();
    if (lineChoiceOf(*m_settings) == m_lineChoice)
        return;
    m_line->shutDown();
    if (m_line->backgroundWorkRunning()) {
        // Not waited for: it goes when its work has ended.
        Line* old = m_line.release();
        old->disconnect(this);
        old->setParent(this);
        connect(old, &Line::backgroundWorkEnded, old, &QObject::deleteLater);
        // Those that have gone are forgotten.
        m_retiredLines.erase(std::remove_if(m_retiredLines.begin(), m_retiredLines.end(),
                                            [](const QPointer<Line>& line) { return !line; }),
                             m_retiredLines.end());
        m_retiredLines.push_back(old);
    } else {
        m_line.reset();
    }
    createLine();
    if (m_mode != OperatingMode::Disabled)
        m_line->switchOn();
    emit stateChanged();
}

LineKeeper* Controller::capiLine() const
{
    return qobject_cast<LineKeeper*>(m_line.get());
}

bool Controller::backgroundWorkRunning() const
{
    if (m_line && m_line->backgroundWorkRunning())
        return true;
    // A worker given up because it never ended may still be in the library.
    if (m_capiWorkers.givenUpRunning())
        return true;
    for (const QPointer<Line>& line : m_retiredLines) {
        if (line && line->backgroundWorkRunning())
            return true;
    }
    return false;
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
    m_line->poll();
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
    // One reading of the clock for the row, the message on the broker and
    // the announcement: the moment the line handed the call on, or the one
    // the line knows it rang.
    const LocalDateTime now = m_parts.clock.now();
    const qint64 steadyNow = m_parts.clock.steadyMs();
    const LocalDateTime when =
        call.rangAt.isValid() ? LocalDateTime::fromDateTime(call.rangAt) : now;
    const qint64 age =
        call.rangAt.isValid() ? std::max<qint64>(0, call.rangAt.msecsTo(now.toDateTime())) : 0;

    // Both structs read as the 208-byte copies of the CAPI link: what a
    // shorter struct lacks reads as zeros.
    const QByteArray calling =
        call.callingNumber.leftJustified(int(CapiLink::kNumberCopySize), '\0', true);
    const QByteArray called =
        call.calledNumber.leftJustified(int(CapiLink::kNumberCopySize), '\0', true);
    const RecordedCall recorded = RecordIncomingCall(
        RecordingContext{*m_settings, *m_callLog, m_parts.dataDir, this},
        reinterpret_cast<const uint8_t*>(calling.constData()),
        reinterpret_cast<const uint8_t*>(called.constData()), CapiLink::kNumberCopySize, when);
    if (recorded.logSaveFailed) {
        std::fprintf(stderr, "ringvakt: could not write %s; the call is kept in memory\n",
                     qPrintable(m_callLog->filePath()));
        m_logProblem = QStringLiteral("Kunne ikke skrive CallID.dat");
    } else if (recorded.handled) {
        m_logProblem.clear();
    }
    updateProblem();

    // Logging only ("Slå av Listefunksjon"), or a call too old to ring now:
    // nothing is announced.
    if (!recorded.handled || m_mode != OperatingMode::Enabled || !call.announce)
        return;
    m_announcer.enqueue(recorded, steadyNow - age);
}

void Controller::shareCall(const QDateTime& when, const std::string& callerNumber,
                           const std::string& msn, const std::string& callerName,
                           bool numberDelivered, bool inPhoneBook)
{
    if (!m_publisher)
        return;
    // A call that came from another desktop is not passed on again (the
    // publisher refuses it).
    m_publisher->publish(CallMessage::fromCall(when, msn, callerNumber, numberDelivered, callerName,
                                               inPhoneBook, lineKindOf(*m_settings),
                                               m_publisher->topics().hostName()));
}

void Controller::updatePublisher()
{
    const SharingConfig config = sharingConfigOf(*m_settings);
    const QString choice = config.publish ? connectionChoiceOf(config) : QString();
    if (choice == m_publisherChoice)
        return;
    m_publisherChoice = choice;
    if (m_publisher)
        m_publisher->stop();
    m_publisher.reset();
    if (config.publish) {
        m_publisher = std::make_unique<CallPublisher>(config, m_parts.lineTiming);
        connect(m_publisher.get(), &CallPublisher::notice, this, &Controller::notice);
        connect(m_publisher.get(), &CallPublisher::stateChanged, this, &Controller::updateProblem);
        m_publisher->start();
    }
    updateProblem();
}

void Controller::updateProblem()
{
    // A broker away is not a line away: the calls are still watched,
    // logged and announced here, and wait to be published.
    m_sharingProblem.clear();
    if (m_publisher && m_publisher->isLost()) {
        m_sharingProblem = QStringLiteral("Deling: ingen forbindelse med MQTT-megleren %1")
                               .arg(m_publisher->brokerName());
        if (m_publisher->lostAt().isValid())
            m_sharingProblem +=
                QStringLiteral(" siden ") +
                m_publisher->lostAt().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    }
    QStringList problems;
    for (const QString& problem : {m_logProblem, m_sharingProblem}) {
        if (!problem.isEmpty())
            problems << problem;
    }
    emit problemChanged(problems.join(QLatin1Char('\n')));
}
