#pragma once

#include "calls/CallAnnouncer.h"
#include "calls/IncomingCall.h"
#include "calls/OperatingMode.h"
#include "controller/CallRecorder.h"
#include "controller/LineSlot.h"
#include "line/LineCall.h"
#include "line/LineTiming.h"
#include "outcomes/CallOutcomes.h"
#include "outcomes/OutcomeTracker.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class CapiApi;
class CallLog;
class CallPublisher;
class Clock;
class Line;
class LineKeeper;
class SettingsStore;
class SoundOutput;
struct Settings;

// What the program's core works with, passed in so that tests can run it
// with a scripted line, a temporary settings file, a silent sound output and
// a popup of their own.
struct ControllerParts
{
    CapiApi& capi;
    SettingsStore& settingsStore;
    SoundOutput& sound;
    const Clock& clock;
    CallPopupPresenter& popup;
    // Desktop notifications of announced calls; may be absent. Asked only
    // when the settings want notifications.
    CallNotifier* notifier = nullptr;
    QString dataDir;
    // How patiently the line is kept, and whether registrations are made in
    // the background (the program) or at once (tests with a scripted line).
    LineTiming lineTiming = {};
    bool lineInBackground = true;
    // Desktop notifications of missed calls; may be absent, as `notifier`.
    MissedCallNotifier* missedNotifier = nullptr;
};

// The running program without its windows: the settings, the call log and
// what became of its calls, the line the settings choose (LineSlot), the
// three modes, the poll timer and the popup's close timer, the call path
// (CallRecorder, CallAnnouncer, OutcomeTracker), and the work held back
// while a call is being announced. The windows observe it
// (its signals) and drive it (its operations); nothing here needs a widget.
class Controller : public QObject, private CloseTimer
{
    Q_OBJECT
public:
    using FatalHandler = std::function<void(const QString& text)>;

    static constexpr int kPollIntervalMs = 1000;

    explicit Controller(const ControllerParts& parts, QObject* parent = nullptr);
    ~Controller() override;

    // What a fatal line failure does; by default the text goes to standard
    // error and the process ends with exit code 1.
    void setFatalHandler(FatalHandler handler);

    // Start-up: clears what killed saves left, loads the settings, opens the
    // line they choose (registering and listening at once on a CAPI line),
    // loads the call log and starts the poll timer. False when the line
    // could not be opened (after the fatal handler ran).
    bool start();

    void SetOperatingMode(OperatingMode mode);
    OperatingMode mode() const { return m_mode; }
    // Stops the timers and the sounds, leaves the line and ends the event
    // loop; runs once.
    void Shutdown();
    bool isShutDown() const { return m_shutDown; }

    // Runs the action now, or, while a call is being announced (its beep and
    // sounds play), when that is over, in the order the actions came.
    void whenIdle(std::function<void()> action);
    // True while a call is being announced or a sound plays.
    bool busy() const;
    // The calls that wait for their announcement.
    const CallAnnouncer& announcer() const { return m_announcer; }

    // The settings may have changed (the settings dialog has closed): a
    // line of another kind or address replaces the one watched now.
    void settingsChanged();

    // One tick of the poll timer, and the expiry of the popup's close timer
    // (the timers call them; so may a test).
    void pollTick();
    void closeTimerExpired();
    // For tests, which look at the timers.
    const QTimer& pollTimer() const { return m_pollTimer; }
    const QTimer& closeTimer() const { return m_closeTimer; }

    Settings& settings() { return *m_settings; }
    const Settings& settings() const { return *m_settings; }
    CallLog& callLog() { return *m_callLog; }
    // What became of the calls of the call log.
    CallOutcomes& outcomes() { return m_outcomes; }
    // The line being watched (CAPI, the router's call monitor, or calls
    // from another desktop).
    Line& line() { return m_lines.line(); }
    const Line& line() const { return m_lines.line(); }
    // The CAPI line, when that is the line.
    LineKeeper* capiLine() const { return m_lines.capiLine(); }
    // What publishes the calls to the MQTT broker, while the settings share
    // them.
    CallPublisher* publisher() const { return m_recorder.publisher(); }
    // True while a line (the current one, or one left when the settings
    // chose another) still has work running on another thread. The process
    // then ends without tearing down what that work uses.
    bool backgroundWorkRunning() const { return m_lines.backgroundWorkRunning(); }
    const QString& dataDir() const { return m_parts.dataDir; }

signals:
    // The mode, the line or the line's state changed: the tray follows.
    void stateChanged();
    // Something the user should be told once (a call monitor that cannot be
    // reached).
    void notice(const QString& text);
    // A problem to show under the program's name (empty: none any more).
    void problemChanged(const QString& text);
    // Shutdown has begun.
    void shuttingDown();

private:
    void arm(quint64 milliseconds) override;
    void createLine();
    void serveLine();
    void deliverWaitingCalls();
    void recordCall(const LineCall& call);
    void endCall(const LineCallEnd& end);
    void runHeldBack();

    ControllerParts m_parts;
    std::unique_ptr<Settings> m_settings;
    std::unique_ptr<CallLog> m_callLog;
    CallOutcomes m_outcomes;
    CallAnnouncer m_announcer;
    CallRecorder m_recorder;
    OutcomeTracker m_tracker;
    LineSlot m_lines;
    QTimer m_pollTimer;
    QTimer m_closeTimer;
    FatalHandler m_fatal;
    OperatingMode m_mode = OperatingMode::Enabled;
    bool m_shutDown = false;
    // The line is being served; a wake from inside that waits for its end.
    bool m_inPoll = false;
    bool m_closeHeldBack = false;
    // The line has something waiting that could not be served while busy.
    bool m_lineWaiting = false;
    std::deque<std::function<void()>> m_heldBack;
};
