#pragma once

#include "calls/IncomingCall.h"

#include <QObject>
#include <QString>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>

class Clock;
class SoundOutput;
struct Settings;

// The popup's close timer. Arming it while it runs starts it again with the
// new period.
class CloseTimer
{
public:
    virtual ~CloseTimer() = default;
    virtual void arm(quint64 milliseconds) = 0;
};

// What announcing calls needs, passed in rather than found in globals.
struct AnnouncingParts
{
    const Settings& settings;
    SoundOutput& sound;
    CallPopupPresenter& popup;
    CloseTimer& closeTimer;
    const Clock& clock;
    QString dataDir;
    // Desktop notifications (the setting NOTIFY decides); may be absent.
    CallNotifier* notifier = nullptr;
};

constexpr int kBeepFrequencyHz = 400;
constexpr int kBeepDurationMs = 400;

// Announces recorded calls one after another, in the order they rang: the
// beep, then the popup, the desktop notification and the popup's close
// timer, then intro, personal sound and outro. Nothing waits for it: the
// sounds play while the program goes on recording calls and taking
// commands.
//
// A call whose announcement cannot begin within kLatestStartMs of its ring
// is not announced (it is in the call log). At most kMostWaiting calls wait;
// beyond that the oldest waiting is dropped.
class CallAnnouncer
{
public:
    static constexpr qint64 kLatestStartMs = 30000;
    static constexpr std::size_t kMostWaiting = 100;

    explicit CallAnnouncer(AnnouncingParts parts);
    ~CallAnnouncer();

    CallAnnouncer(const CallAnnouncer&) = delete;
    CallAnnouncer& operator=(const CallAnnouncer&) = delete;

    // Called from the event loop after each announcement has ended.
    void setAnnouncedHandler(std::function<void()> handler);
    // Where drops are reported (one line each); standard error by default.
    void setReport(std::function<void(const QString&)> report);

    // Announces the call after those waiting. `rangAtSteadyMs` is the
    // clock's steady count at its ring.
    void enqueue(const RecordedCall& call, qint64 rangAtSteadyMs);
    // True while an announcement is under way.
    bool busy() const { return m_current != nullptr; }
    std::size_t waiting() const { return m_waiting.size(); }
    // Forgets the calls that wait; the announcement under way goes on.
    void dropWaiting() { m_waiting.clear(); }
    // Forgets the calls that wait and ends the announcement under way, its
    // sound at once. Nothing is announced after it.
    void stop();

private:
    struct Waiting
    {
        RecordedCall call;
        qint64 rangAtSteadyMs = 0;
    };

    // Starts the next announcement unless one is under way.
    void next();
    void scheduleNext();
    void afterBeep();
    void finished();
    // `step`, when the sound started now has ended, unless the announcer is
    // gone or stopped by then.
    std::function<void()> whenSoundEnds(void (CallAnnouncer::*step)());

    AnnouncingParts m_parts;
    std::function<void()> m_announced;
    std::function<void(const QString&)> m_report;
    std::deque<Waiting> m_waiting;
    std::unique_ptr<Waiting> m_current;
    bool m_stopped = false;
    // The newest scheduling of next(); an older one does nothing.
    quint64 m_nextTicket = 0;
    // Counts the announcements begun; a sound's end that belongs to an
    // earlier one (cut short by stop()) does nothing.
    quint64 m_serial = 0;
    // Lives as long as the announcer: what the sound output calls back
    // through it after the announcer is gone does nothing.
    std::shared_ptr<CallAnnouncer*> m_self;
    QObject m_context;
};
