#include "shell/Application.h"

#include "calllog/CallLog.h"
#include "calllog/CallLogWindow.h"
#include "calllog/ShownCaller.h"
#include "calls/CallPopupController.h"
#include "line/Line.h"
#include "phonebook/PhoneBookDialogs.h"
#include "phonebook/PhoneBookExport.h"
#include "platform/Cp1252.h"
#include "platform/MessageBoxes.h"
#include "settings/SettingsDialogOpener.h"
#include "shell/AboutBox.h"
#include "shell/CommandIds.h"
#include "shell/DesktopNotifier.h"
#include "shell/MainWindow.h"
#include "shell/TrayIcon.h"

#include <cstdio>
#include <unistd.h>

Application::Application(const ApplicationParts& parts)
    : m_parts(parts), m_popups(std::make_unique<CallPopupController>()),
      m_core(ControllerParts{parts.capi, parts.settingsStore, parts.sound, parts.clock, *m_popups,
                             this, parts.dataDir, parts.lineTiming, parts.lineInBackground, this}),
      m_mainWindow(std::make_unique<MainWindow>()), m_tray(std::make_unique<TrayIcon>())
{
    setFatalHandler({});

    m_phoneBook = std::make_unique<PhoneBookDialogs>(
        PhoneBookServices{m_mainWindow.get(), parts.dataDir, m_core.callLog(), m_core.settings(),
                          parts.sound, parts.recorder});
    m_settingsDialog = std::make_unique<SettingsDialogOpener>(
        m_mainWindow.get(), SettingsDialogParts{m_core.settings(), parts.settingsStore, parts.sound,
                                                parts.recorder, parts.dataDir});

    connect(m_mainWindow.get(), &MainWindow::commandChosen, this, &Application::command);
    connect(m_tray.get(), &TrayIcon::commandChosen, this, &Application::command);
    connect(m_tray.get(), &TrayIcon::showCallLog, this, [this] { command(command::ShowCallLog); });
    connect(&m_trayWatch, &QTimer::timeout, this, &Application::followTray);

    connect(&m_core, &Controller::stateChanged, this, [this] { updateTray(); });
    connect(&m_core, &Controller::notice, m_tray.get(), &TrayIcon::showNotice);
    connect(&m_core, &Controller::problemChanged, m_tray.get(), &TrayIcon::setProblem);
    connect(&m_core.outcomes(), &CallOutcomes::missedChanged, this,
            &Application::updateMissedCalls);
    connect(&m_core, &Controller::shuttingDown, this, [this] {
        m_trayWatch.stop();
        m_tray->RemoveTrayIcon();
    });

    m_popups->setAddNumberHandler(
        [this](const QString& number) { m_phoneBook->AddNumberToPhoneBook(number); });
}

Application::~Application() = default;

void Application::setFatalHandler(Controller::FatalHandler handler)
{
    if (!handler) {
        handler = [this](const QString& text) {
            // The line's fatal texts are CapiTexts', translated here.
            msgbox::inform(m_mainWindow.get(), tr("FEIL"), tr(text.toUtf8().constData()));
            std::fflush(nullptr);
            // The process ends here, without the shutdown steps: the line is
            // already in a state that a release could not mend.
            _exit(1);
        };
    }
    m_core.setFatalHandler(std::move(handler));
}

bool Application::start()
{
    if (!m_core.start())
        return false;

    updateTray(true);
    updateMissedCalls();
    auto* callLog = new CallLogWindow(m_core.callLog(), m_mainWindow.get(), &m_core.outcomes());
    callLog->setAddNumberHandler(
        [this](const QString& number) { m_phoneBook->AddNumberToPhoneBook(number); });
    m_mainWindow->setCallLogWindow(callLog);

    m_mainWindow->hide();
    if (trayAvailable() || m_trayWaitMs <= 0) {
        followTray();
    } else {
        // At the start of a session the panel may come up after the program:
        // look again every half second, without holding up the calls, until
        // a tray appears or the wait is over.
        const auto look = [this] { lookForTray(); };
        RetryTimers* timers = m_parts.lineTiming.retryTimers;
        m_trayWait = timers ? timers->make(look) : makeQtRetryTimer(look);
        m_trayWaitLeftMs = m_trayWaitMs;
        m_trayWait->start(kTrayLookMs);
    }
    return true;
}

void Application::lookForTray()
{
    m_trayWaitLeftMs -= kTrayLookMs;
    if (trayAvailable() || m_trayWaitLeftMs <= 0)
        followTray();
    else
        m_trayWait->start(kTrayLookMs);
}

bool Application::trayAvailable() const
{
    return m_parts.trayAvailable ? m_parts.trayAvailable() : TrayIcon::available();
}

void Application::followTray()
{
    if (m_core.isShutDown())
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

void Application::command(int id)
{
    // The end never waits for an announcement: its sound stops.
    if (id == command::Exit) {
        run(id);
        return;
    }
    m_core.whenIdle([this, id] { run(id); });
}

void Application::run(int id)
{
    switch (id) {
    case command::ShowCallLog:
        m_mainWindow->showMainWindow();
        // What the call log shows has been seen.
        m_core.outcomes().markSeen();
        break;
    case command::PhoneBook:
        m_phoneBook->OpenPhoneBookWindow();
        break;
    case command::Settings:
        m_settingsDialog->OpenSettingsDialog();
        m_core.settingsChanged();
        break;
    case command::About:
        OpenAboutBox();
        break;
    case command::Enable:
        m_core.SetOperatingMode(OperatingMode::Enabled);
        break;
    case command::DisableOutput:
        m_core.SetOperatingMode(OperatingMode::OutputDisabled);
        break;
    case command::Disable:
        m_core.SetOperatingMode(OperatingMode::Disabled);
        break;
    case command::Exit:
        m_core.Shutdown();
        break;
    case command::ImportContacts:
        m_phoneBook->OpenPhoneBookWindow(true);
        break;
    case command::ExportPhoneBook:
        exportPhoneBookFile(m_mainWindow.get(), m_parts.dataDir);
        break;
    case command::ExportCalls:
        if (CallLogWindow* window = callLogWindow())
            window->exportCalls();
        break;
    default:
        break;
    }
}

void Application::updateTray(bool add)
{
    const Line& line = m_core.line();
    const OperatingMode mode = m_core.mode();
    m_tray->SetTrayMode(mode, add);
    m_tray->setLineName(line.displayName());
    const bool noLine = mode != OperatingMode::Disabled && line.isLineLost();
    m_tray->setLineLost(noLine, noLine ? line.lostAt() : QDateTime());
}

void Application::updateMissedCalls()
{
    const CallOutcomes& outcomes = m_core.outcomes();
    const int last = outcomes.lastUnseenMissed();
    if (last < 0) {
        m_tray->setMissedCalls(0);
        return;
    }
    // The caller as the call log names them: the name from the phone book,
    // or else the number.
    const CallRecord& call = m_core.callLog().at(last);
    const QString caller = call.callerName.empty() || call.callerName == kUnknownName
                               ? ShownCaller::number(call.callerNumber)
                               : ShownCaller::name(call.callerName);
    m_tray->setMissedCalls(outcomes.unseenMissed(), caller,
                           cp1252::toQString(call.time.substr(0, 5)));
}

void Application::notifyCall(const std::string& callerNumber, const std::string& msn,
                             const std::string& callerName, bool numberDelivered, bool inPhoneBook)
{
    notifier().notifyCall(callerNumber, msn, callerName, numberDelivered, inPhoneBook);
}

void Application::notifyMissedCall(const std::string& callerNumber, const std::string& callerName,
                                   bool numberDelivered, bool inPhoneBook)
{
    notifier().notifyMissedCall(callerNumber, callerName, numberDelivered, inPhoneBook);
}

DesktopNotifier& Application::notifier()
{
    if (!m_notifier) {
        // Made when first needed: a user who never asked for notifications
        // never talks to the session bus.
        m_notifier = std::make_unique<DesktopNotifier>();
        connect(m_notifier.get(), &DesktopNotifier::addToPhoneBook, this,
                [this](const QString& number) {
                    m_core.whenIdle([this, number] { m_phoneBook->AddNumberToPhoneBook(number); });
                });
    }
    return *m_notifier;
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
