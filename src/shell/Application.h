#pragma once

#include "calls/IncomingCall.h"
#include "controller/Controller.h"
#include "line/LineTiming.h"
#include "line/RetryTimer.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

class AboutBox;
class CallLogWindow;
class CallPopupController;
class CapiApi;
class Clock;
class DesktopNotifier;
class MainWindow;
class PhoneBookDialogs;
class RecorderStarter;
class SettingsDialogOpener;
class SettingsStore;
class SoundOutput;
class TrayIcon;

// What the program is made of, passed in so that tests can run the whole
// program with a scripted line, a temporary settings file and a silent
// sound output.
struct ApplicationParts
{
    CapiApi& capi;
    SettingsStore& settingsStore;
    SoundOutput& sound;
    const Clock& clock;
    RecorderStarter& recorder;
    QString dataDir;
    // How patiently the line is kept, and whether registrations are made in
    // the background (the program) or at once (tests with a scripted line).
    LineTiming lineTiming = {};
    bool lineInBackground = true;
    // Whether the desktop has a tray now; empty: ask the platform.
    std::function<bool()> trayAvailable = {};
};

// The program with its windows: the core (Controller) and the tray, the
// main window with the call log, the popup, the about box, the phone book
// and settings windows, wired together. Commands of the tray and the menu bar
// come here; those of the windows wait while a call is being announced.
class Application : public QObject, private CallNotifier, private MissedCallNotifier
{
    Q_OBJECT
public:
    explicit Application(const ApplicationParts& parts);
    ~Application() override;

    // Starts the core (registering with the line) and builds the windows.
    // False when the line could not be opened (after the fatal handler ran).
    bool start();

    // By default a fatal line failure shows the "FEIL" box owned by the
    // main window and ends the process with exit code 1.
    void setFatalHandler(Controller::FatalHandler handler);

    // Without a tray at start, wait up to this long for one to appear before
    // showing the call log instead (a session's panel may come up after the
    // program). 0, the default, decides at once.
    void setTrayWait(int milliseconds) { m_trayWaitMs = milliseconds; }

    // The commands of the main window by id (40013, 40021, 40012, 40014,
    // 40023, 40024, 40025, 40008). A command chosen while a call is being
    // announced runs when the announcement is over.
    void command(int id);

    // Follows the tray as it comes and goes (it looks every few seconds by
    // itself): without one the call log shows with the tray's commands in a
    // menu bar; with one the window may hide.
    void followTray();

    bool backgroundWorkRunning() const { return m_core.backgroundWorkRunning(); }
    // The parts, for tests to drive and look at.
    Controller& core() { return m_core; }
    MainWindow& mainWindow() { return *m_mainWindow; }
    CallLogWindow* callLogWindow() const;
    TrayIcon& tray() { return *m_tray; }
    CallPopupController& popups() { return *m_popups; }
    AboutBox* aboutBox() const;
    PhoneBookDialogs& phoneBookDialogs() { return *m_phoneBook; }
    SettingsDialogOpener& settingsDialogs() { return *m_settingsDialog; }

private:
    // One look for the tray while the program waits for one.
    void lookForTray();
    // Desktop notifications: the service is asked for only when the first
    // announced call wants one.
    void notifyCall(const std::string& callerNumber, const std::string& msn,
                    const std::string& callerName, bool numberDelivered, bool inPhoneBook) override;
    void notifyMissedCall(const std::string& callerNumber, const std::string& callerName,
                          bool numberDelivered, bool inPhoneBook) override;
    DesktopNotifier& notifier();
    // The tray follows the missed calls not yet seen.
    void updateMissedCalls();
    void run(int id);
    void updateTray(bool add = false);
    bool trayAvailable() const;
    void OpenAboutBox();

    ApplicationParts m_parts;
    std::unique_ptr<CallPopupController> m_popups;
    Controller m_core;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<TrayIcon> m_tray;
    std::unique_ptr<PhoneBookDialogs> m_phoneBook;
    std::unique_ptr<SettingsDialogOpener> m_settingsDialog;
    std::unique_ptr<DesktopNotifier> m_notifier;
    QPointer<AboutBox> m_aboutBox;
    int m_trayWaitMs = 0;
    // While the program waits for a tray at the start of a session: looks
    // every kTrayLookMs until the wait is over.
    static constexpr int kTrayLookMs = 500;
    std::unique_ptr<RetryTimer> m_trayWait;
    int m_trayWaitLeftMs = 0;
    // How often the program looks whether a tray came or went.
    static constexpr int kTrayWatchMs = 3000;
    QTimer m_trayWatch;
    bool m_traySettled = false;
};
