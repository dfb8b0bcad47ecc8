#pragma once

#include "calls/IncomingCall.h"
#include "calls/OperatingMode.h"
#include "line/LineTiming.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

class AboutBox;
class CallLog;
class CallLogWindow;
class CallPopupController;
class DesktopNotifier;
class CapiApi;
class CapiLink;
class Clock;
class Line;
class LineKeeper;
class MainWindow;
class RecorderStarter;
class SettingsStore;
class SoundOutput;
class TrayIcon;
struct Settings;

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

// The running program: starts in the described order, carries out the
// commands of the tray menu, polls the line, handles calls, and shuts down.
class Application : public QObject, private CloseTimer
{
    Q_OBJECT
public:
    using FatalHandler = std::function<void(const QString& text)>;

    explicit Application(const ApplicationParts& parts);
    ~Application() override;

    // Registers with the line and builds the windows. False when the line
    // could not be opened (after the fatal handler ran).
    bool start();

    // By default a fatal line failure shows the "FEIL" box owned by the
    // main window and ends the process with exit code 1.
    void setFatalHandler(FatalHandler handler) { m_fatal = std::move(handler); }

    // Without a tray at start, wait up to this long for one to appear before
    // showing the call log instead (a session's panel may come up after the
    // program). 0, the default, decides at once.
    void setTrayWait(int milliseconds) { m_trayWaitMs = milliseconds; }

    // The commands of the main window by id (40013, 40021, 40012, 40014,
    // 40023, 40024, 40025, 40008). A command chosen while a call is being
    // announced runs when the announcement is over.
    void command(int id);
    void SetOperatingMode(OperatingMode mode);
    // Stops the timers, leaves the line, ends the event loop; runs once.
    void Shutdown();
    bool isShutDown() const { return m_shutDown; }

    // Follows the tray as it comes and goes (it looks every few seconds by
    // itself): without one the call log shows with the tray's commands in a
    // menu bar; with one the window may hide.
    void followTray();

    // One tick of the poll timer, and the close timer's expiry.
    void pollTick();
    void closeTimerExpired();

    OperatingMode mode() const { return m_mode; }
    const Settings& settings() const { return *m_settings; }
    Settings& settings() { return *m_settings; }
    CallLog& callLog() { return *m_callLog; }
    // The line being watched (CAPI or the router's call monitor).
    Line& line() { return *m_line; }
    // The CAPI line, when that is the line.
    LineKeeper* capiLine() const;
    // True while a line (the current one, or one left when the settings
    // chose another) still has work running on another thread. The process
    // then ends without tearing down what that work uses.
    bool backgroundWorkRunning() const;
    MainWindow& mainWindow() { return *m_mainWindow; }
    CallLogWindow* callLogWindow() const;
    TrayIcon& tray() { return *m_tray; }
    CallPopupController& popups() { return *m_popups; }
    AboutBox* aboutBox() const;
    const QString& dataDir() const { return m_dataDir; }
    SoundOutput& sound() { return m_parts.sound; }
    SettingsStore& settingsStore() { return m_parts.settingsStore; }
    RecorderStarter& recorder() { return m_parts.recorder; }

    // The hooks that later windows fill in.
    std::function<void()> openPhoneBookWindow;
    std::function<void()> openSettingsDialog;
    std::function<void(const QString& number)> addNumberToPhoneBook;

private:
    void arm(quint64 milliseconds) override;
    // Builds the line the settings choose.
    void createLine();
    // After the settings changed: the old line closed, the new one opened.
    void switchLineIfChanged();
    void deliverWaitingCalls();
    // One turn of the line, when nothing else is being handled.
    void serveLine();
    bool trayAvailable() const;
    // Runs now, or after the call being announced.
    void whenIdle(std::function<void()> action);
    DesktopNotifier* notifier();
    void handleCall(const QByteArray& callingNumber, const QByteArray& calledNumber);
    void updateTray(bool add = false);
    void OpenAboutBox();
    bool busy() const;
    void runDeferred();

    ApplicationParts m_parts;
    QString m_dataDir;
    std::unique_ptr<Settings> m_settings;
    std::unique_ptr<Line> m_line;
    // Lines left behind while work of theirs still ran; each deletes itself
    // when that work ends.
    std::vector<QPointer<Line>> m_retiredLines;
    // What the line was built from: LINE, CALLMONITOR_HOST, CALLMONITOR_PORT.
    QString m_lineChoice;
    std::unique_ptr<CallLog> m_callLog;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<TrayIcon> m_tray;
    std::unique_ptr<CallPopupController> m_popups;
    QPointer<AboutBox> m_aboutBox;
    FatalHandler m_fatal;
    OperatingMode m_mode = OperatingMode::Enabled;
    bool m_shutDown = false;
    bool m_inPoll = false;
    bool m_closeDeferred = false;
    // The line has something waiting that could not be served while busy.
    bool m_lineWaiting = false;
    std::vector<int> m_deferredCommands;
    std::vector<std::function<void()>> m_deferredActions;
    std::unique_ptr<DesktopNotifier> m_notifier;
    int m_trayWaitMs = 0;
    // How often the program looks whether a tray came or went.
    static constexpr int kTrayWatchMs = 3000;
    QTimer m_trayWatch;
    bool m_traySettled = false;
};
