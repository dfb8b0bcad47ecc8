#include "shell/Application.h"

#include "calllog/CallLog.h"
#include "calllog/CallLogWindow.h"
#include "callmonitor/CallMonitorLine.h"
#include "calls/CallPopupController.h"
#include "capi/CapiLink.h"
#include "capi/LineKeeper.h"
#include "line/Line.h"
#include "phonebook/PhoneBookDialogs.h"
#include "phonebook/PhoneBookFile.h"
#include "platform/Cp1252.h"
#include "platform/MessageBoxes.h"
#include "platform/SafeFile.h"
#include "platform/SoundFiles.h"
#include "platform/SoundOutput.h"
#include "settings/Settings.h"
#include "settings/SettingsDialogOpener.h"
#include "shell/AboutBox.h"
#include "shell/CommandIds.h"
#include "shell/DesktopNotifier.h"
#include "shell/MainWindow.h"
#include "shell/TrayIcon.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <climits>
#include <cstdio>
#include <unistd.h>

Application::Application(const ApplicationParts& parts)
    : m_parts(parts), m_dataDir(parts.dataDir), m_settings(std::make_unique<Settings>()),
      m_callLog(std::make_unique<CallLog>(parts.dataDir)),
      m_mainWindow(std::make_unique<MainWindow>()), m_tray(std::make_unique<TrayIcon>()),
      m_popups(std::make_unique<CallPopupController>())
{
    m_fatal = [this](const QString& text) {
        msgbox::inform(m_mainWindow.get(), QStringLiteral("FEIL"), text);
        std::fflush(nullptr);
        // The process ends here, without the shutdown steps: the line is
        // already in a state that a release could not mend.
        _exit(1);
    };

    connect(&m_mainWindow->pollTimer(), &QTimer::timeout, this, &Application::pollTick);
    connect(&m_mainWindow->closeTimer(), &QTimer::timeout, this, &Application::closeTimerExpired);
    connect(m_mainWindow.get(), &MainWindow::commandChosen, this, &Application::command);
    connect(m_tray.get(), &TrayIcon::commandChosen, this, &Application::command);
    connect(m_tray.get(), &TrayIcon::showCallLog, this, [this] { command(command::ShowCallLog); });
    connect(&m_trayWatch, &QTimer::timeout, this, &Application::followTray);

    m_popups->setAddNumberHandler([this](const QString& number) {
        if (addNumberToPhoneBook)
            addNumberToPhoneBook(number);
    });

    // While a sound plays the windows keep being painted, but neither the
    // line's poll nor the popup's close timer is served before it has ended
    // (see busy()), and user input waits.
    m_parts.sound.setWaitHook(
        [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
}

Application::~Application()
{
    m_parts.sound.setWaitHook({});
}

bool Application::start()
{
    // Nobody else saves these files while this program runs (it holds the
    // single-instance lock): what a killed save left beside them goes.
    const int leftovers = removeLeftoverSaves(m_callLog->filePath()) +
                          removeLeftoverSaves(phonebookfile::path(m_dataDir));
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

    m_mainWindow->pollTimer().start();
    auto settingsDialog = std::make_shared<SettingsDialogOpener>(
        m_mainWindow.get(), SettingsDialogParts{*m_settings, m_parts.settingsStore, m_parts.sound,
                                                m_parts.recorder, m_dataDir});
    openSettingsDialog = [this, settingsDialog] {
        settingsDialog->OpenSettingsDialog();
        switchLineIfChanged();
    };
    auto phoneBook = std::make_shared<PhoneBookDialogs>(PhoneBookServices{
        m_mainWindow.get(), m_dataDir, *m_callLog, *m_settings, m_parts.sound, m_parts.recorder});
    openPhoneBookWindow = [phoneBook] { phoneBook->OpenPhoneBookWindow(); };
    addNumberToPhoneBook = [phoneBook](const QString& number) {
        phoneBook->AddNumberToPhoneBook(number);
    };

    updateTray(true);

    auto* callLog = new CallLogWindow(*m_callLog, m_mainWindow.get());
    callLog->setAddNumberHandler([this](const QString& number) {
        if (addNumberToPhoneBook)
            addNumberToPhoneBook(number);
    });
    LoadCallLog(*m_callLog);
    m_mainWindow->setCallLogWindow(callLog);

    m_mainWindow->hide();
    if (trayAvailable() || m_trayWaitMs <= 0) {
        followTray();
    } else {
        // At the start of a session the panel may come up after the program:
        // look again every half second, without holding up the calls, until
        // a tray appears or the wait is over.
        auto* poll = new QTimer(this);
        auto* clock = new QElapsedTimer;
        clock->start();
        connect(poll, &QTimer::timeout, this, [this, poll, clock] {
            if (trayAvailable() || clock->elapsed() >= m_trayWaitMs) {
                poll->stop();
                poll->deleteLater();
                delete clock;
                followTray();
            }
        });
        poll->start(500);
    }

    QDir(m_dataDir).mkpath(soundfiles::soundDir(m_dataDir));
    return true;
}

bool Application::trayAvailable() const
{
    return m_parts.trayAvailable ? m_parts.trayAvailable() : TrayIcon::available();
}

void Application::followTray()
{
    if (m_shutDown)
        return;
    // A panel can go and come back while the program runs: the window is
    // hidden only while a tray exists to bring it back.
    if (!m_trayWatch.isActive())
        m_trayWatch.start(kTrayWatchMs);
    const bool present = trayAvailable();
    if (m_traySettled && present == m_mainWindow->trayPresent())
        return;
    m_traySettled = true;
    m_mainWindow->setTrayPresent(present, m_tray->menu());
    if (present) {
        // Into the tray that has just come (again).
        updateTray(true);
    } else {
        // Without a tray the call log is the user's handle on the program: it
        // shows and carries the tray's commands in a menu bar.
        m_mainWindow->showMainWindow();
    }
}

CallLogWindow* Application::callLogWindow() const
{
    return m_mainWindow->callLogWindow();
}

bool Application::busy() const
{
    return m_inPoll || m_parts.sound.isPlaying();
}

void Application::command(int id)
{
    if (m_shutDown)
        return;
    if (busy()) {
        m_deferredCommands.push_back(id);
        return;
    }
    switch (id) {
    case command::ShowCallLog:
        m_mainWindow->showMainWindow();
        break;
    case command::PhoneBook:
        if (openPhoneBookWindow)
            openPhoneBookWindow();
        break;
    case command::Settings:
        if (openSettingsDialog)
            openSettingsDialog();
        break;
    case command::About:
        OpenAboutBox();
        break;
    case command::Enable:
        SetOperatingMode(OperatingMode::Enabled);
        break;
    case command::DisableOutput:
        SetOperatingMode(OperatingMode::OutputDisabled);
        break;
    case command::Disable:
        SetOperatingMode(OperatingMode::Disabled);
        break;
    case command::Exit:
        Shutdown();
        break;
    default:
        break;
    }
}

void Application::SetOperatingMode(OperatingMode mode)
{
    const OperatingMode was = m_mode;
    m_mode = mode;
    if (mode != OperatingMode::Disabled) {
        if (was == OperatingMode::Disabled) {
            // Registered and listening again, in the background; a line
            // that does not answer is the "no line" state, not the end.
            m_mainWindow->pollTimer().start();
            m_line->switchOn();
        }
    } else if (was != OperatingMode::Disabled) {
        m_mainWindow->pollTimer().stop();
        m_line->switchOff();
    }
    updateTray();
}

void Application::updateTray(bool add)
{
    m_tray->SetTrayMode(m_mode, add);
    m_tray->setLineName(m_line ? m_line->displayName() : QString());
    const bool noLine = m_line && m_mode != OperatingMode::Disabled && m_line->isLineLost();
    m_tray->setLineLost(noLine, noLine ? m_line->lostAt() : QDateTime());
}

namespace {
QString lineChoiceOf(const Settings& s)
{
    if (s.LINE != LineKind::CallMonitor)
        return QStringLiteral("capi");
    return QStringLiteral("callmonitor %1:%2")
        .arg(cp1252::toQString(s.CALLMONITOR_HOST))
        .arg(s.CALLMONITOR_PORT);
}
} // namespace

void Application::createLine()
{
    const Settings& s = *m_settings;
    m_lineChoice = lineChoiceOf(s);
    if (s.LINE == LineKind::CallMonitor) {
        m_line = std::make_unique<CallMonitorLine>(cp1252::toQString(s.CALLMONITOR_HOST),
                                                   quint16(s.CALLMONITOR_PORT), m_parts.lineTiming);
        connect(m_line.get(), &Line::notice, this,
                [this](const QString& text) { m_tray->showNotice(text); });
    } else {
        // Any other value is the line of old.
        auto keeper =
            std::make_unique<LineKeeper>(m_parts.capi, m_parts.lineTiming,
                                         m_parts.lineInBackground ? LineKeeper::Execution::Thread
                                                                  : LineKeeper::Execution::Inline);
        keeper->setFatalHandler([this](const QString& text) { m_fatal(text); });
        m_line = std::move(keeper);
    }
    connect(m_line.get(), &Line::stateChanged, this, [this] { updateTray(); });
    connect(m_line.get(), &Line::incomingCall, this, &Application::handleCall);
    // Handed on from the event loop, not from inside the line's own handler
    // of the data that brought them.
    connect(m_line.get(), &Line::callsWaiting, this, &Application::deliverWaitingCalls,
            Qt::QueuedConnection);
}

void Application::switchLineIfChanged()
{
    if (m_shutDown || lineChoiceOf(*m_settings) == m_lineChoice)
        return;
    m_line->shutDown();
    if (m_line->backgroundWorkRunning()) {
        // Not waited for: it goes when its work has ended.
        Line* old = m_line.release();
        old->disconnect(this);
        old->setParent(this);
        connect(old, &Line::backgroundWorkEnded, old, &QObject::deleteLater);
        m_retiredLines.push_back(old);
    } else {
        m_line.reset();
    }
    createLine();
    if (m_mode != OperatingMode::Disabled)
        m_line->switchOn();
    updateTray();
}

LineKeeper* Application::capiLine() const
{
    return qobject_cast<LineKeeper*>(m_line.get());
}

bool Application::backgroundWorkRunning() const
{
    if (m_line && m_line->backgroundWorkRunning())
        return true;
    for (const QPointer<Line>& line : m_retiredLines) {
        if (line && line->backgroundWorkRunning())
            return true;
    }
    return false;
}

void Application::deliverWaitingCalls()
{
    if (m_mode == OperatingMode::Disabled)
        return;
    serveLine();
}

void Application::serveLine()
{
    if (m_shutDown)
        return;
    // What arrives while another call is being announced waits for it, and
    // is served as soon as it is over, not at the next tick.
    if (busy()) {
        m_lineWaiting = true;
        return;
    }
    m_lineWaiting = false;
    m_inPoll = true;
    m_line->poll();
    m_inPoll = false;
    if (m_lineWaiting)
        QMetaObject::invokeMethod(this, &Application::deliverWaitingCalls, Qt::QueuedConnection);
    runDeferred();
}

void Application::Shutdown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    m_mainWindow->pollTimer().stop();
    m_mainWindow->closeTimer().stop();
    m_trayWatch.stop();
    m_line->shutDown();
    QCoreApplication::exit(0);
    m_tray->RemoveTrayIcon();
}

void Application::pollTick()
{
    // A safety net: the lines wake the program when something arrives.
    serveLine();
}

void Application::closeTimerExpired()
{
    m_mainWindow->closeTimer().stop();
    if (busy()) {
        m_closeDeferred = true;
        return;
    }
    m_popups->CloseCallPopup();
}

void Application::whenIdle(std::function<void()> action)
{
    if (busy()) {
        m_deferredActions.push_back(std::move(action));
        return;
    }
    action();
}

DesktopNotifier* Application::notifier()
{
    if (m_settings->NOTIFY != Notify::On)
        return nullptr;
    if (!m_notifier) {
        // Made when first needed: a user who never asked for notifications
        // never talks to the session bus.
        m_notifier = std::make_unique<DesktopNotifier>();
        connect(m_notifier.get(), &DesktopNotifier::addToPhoneBook, this,
                [this](const QString& number) {
                    whenIdle([this, number] {
                        if (addNumberToPhoneBook)
                            addNumberToPhoneBook(number);
                    });
                });
    }
    return m_notifier.get();
}

void Application::runDeferred()
{
    if (m_closeDeferred) {
        m_closeDeferred = false;
        m_popups->CloseCallPopup();
    }
    if (m_deferredCommands.empty() && m_deferredActions.empty())
        return;
    // Run from the event loop, not from inside the poll tick.
    std::vector<int> commands;
    commands.swap(m_deferredCommands);
    std::vector<std::function<void()>> actions;
    actions.swap(m_deferredActions);
    QTimer::singleShot(0, this, [this, commands, actions] {
        for (const auto& action : actions)
            whenIdle(action);
        for (int id : commands)
            command(id);
    });
}

void Application::arm(quint64 milliseconds)
{
    // The delay comes from a setting without a range check: capped at what a
    // timer takes (about 24 days) so a huge value never wraps to zero.
    const int interval = milliseconds > quint64(INT_MAX) ? INT_MAX : int(milliseconds);
    m_mainWindow->closeTimer().start(interval);
}

void Application::handleCall(const QByteArray& callingNumber, const QByteArray& calledNumber)
{
    // Both structs read as the 208-byte copies of the CAPI link: what a
    // shorter struct lacks reads as zeros.
    QByteArray calling = callingNumber.leftJustified(int(CapiLink::kNumberCopySize), '\0', true);
    QByteArray called = calledNumber.leftJustified(int(CapiLink::kNumberCopySize), '\0', true);
    const CallContext context{*m_settings, m_mode, *m_callLog, m_parts.clock, m_parts.sound,
                              *m_popups,   *this,  m_dataDir,  notifier()};
    const CallResult result = HandleIncomingCall(
        context, reinterpret_cast<const uint8_t*>(calling.constData()),
        reinterpret_cast<const uint8_t*>(called.constData()), CapiLink::kNumberCopySize);
    if (result.logSaveFailed) {
        std::fprintf(stderr, "ringvakt: could not write %s; the call is kept in memory\n",
                     qPrintable(m_callLog->filePath()));
        m_tray->setProblem(QStringLiteral("Kunne ikke skrive CallID.dat"));
    } else if (result.handled) {
        m_tray->setProblem({});
    }
}

AboutBox* Application::aboutBox() const
{
    return m_aboutBox.data();
}

void Application::OpenAboutBox()
{
    if (m_aboutBox) {
        m_aboutBox->raise();
        m_aboutBox->activateWindow();
        return;
    }
    AboutBox box(m_mainWindow.get());
    box.setWindowModality(Qt::WindowModal);
    m_aboutBox = &box;
    box.exec();
    m_aboutBox = nullptr;
}
