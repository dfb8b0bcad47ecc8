#include "calls/CallAnnouncer.h"

#include "phonebook/PhoneBook.h"
#include "platform/Clock.h"
#include "platform/Report.h"
#include "platform/SoundFiles.h"
#include "platform/SoundOutput.h"
#include "settings/Settings.h"

#include <QTimer>

namespace {

bool shouldBeep(int32_t beep, bool numberDelivered, bool hasPersonalSound)
{
    switch (beep) {
    case Beep::Always:
        return true;
    case Beep::IfNumberDelivered:
        return numberDelivered;
    case Beep::IfNoPersonalSound:
        return !hasPersonalSound;
    default: // Never ("Aldri") and anything else
        return false;
    }
}

bool shouldShowPopup(int32_t msgShow, bool numberDelivered)
{
    switch (msgShow) {
    case MsgShow::Always:
        return true;
    case MsgShow::IfNumberDelivered:
        return numberDelivered;
    default: // Never ("Aldri") and anything else
        return false;
    }
}

// A file in "sound/" to play. A missing file is played all the same: the
// player then plays its default sound, as the user has always heard it. Only
// a name that cannot be inside "sound/" is not played at all.
void addSoundFile(std::vector<Sound>& sounds, const QString& dataDir, const std::string& fileName)
{
    if (const auto path = soundfiles::findExisting(dataDir, fileName))
        sounds.push_back(Sound::file(*path));
    else if (const auto planned = soundfiles::pathFor(dataDir, fileName))
        sounds.push_back(Sound::file(*planned));
}

} // namespace

CallAnnouncer::CallAnnouncer(AnnouncingParts parts)
    : m_parts(std::move(parts)), m_self(std::make_shared<CallAnnouncer*>(this))
{
    m_report = reportToStandardError;
}

CallAnnouncer::~CallAnnouncer()
{
    *m_self = nullptr;
}

void CallAnnouncer::setAnnouncedHandler(std::function<void()> handler)
{
    m_announced = std::move(handler);
}

void CallAnnouncer::setReport(std::function<void(const QString&)> report)
{
    m_report = std::move(report);
}

void CallAnnouncer::enqueue(const RecordedCall& call, qint64 rangAtSteadyMs)
{
    if (m_stopped)
        return;
    if (m_waiting.size() >= kMostWaiting) {
        m_waiting.pop_front();
        m_report(QStringLiteral("more than %1 calls wait to be announced; the oldest is only "
                                "logged")
                     .arg(kMostWaiting));
    }
    m_waiting.push_back(Waiting{call, rangAtSteadyMs});
    scheduleNext();
}

void CallAnnouncer::stop()
{
    m_stopped = true;
    m_waiting.clear();
    if (m_current) {
        m_current.reset();
        m_parts.sound.stop();
    }
}

void CallAnnouncer::scheduleNext()
{
    // From the event loop, never from inside the recording of a call or the
    // end of the announcement before; and after what the end of that
    // announcement let run (work held back for it), so only the newest
    // schedule counts.
    const quint64 ticket = ++m_nextTicket;
    QTimer::singleShot(0, &m_context, [this, ticket] {
        if (ticket == m_nextTicket)
            next();
    });
}

std::function<void()> CallAnnouncer::whenSoundEnds(void (CallAnnouncer::*step)())
{
    const std::weak_ptr<CallAnnouncer*> self = m_self;
    const quint64 serial = m_serial;
    return [self, serial, step] {
        const std::shared_ptr<CallAnnouncer*> alive = self.lock();
        if (!alive || *alive == nullptr)
            return;
        CallAnnouncer* announcer = *alive;
        if (announcer->m_stopped || !announcer->m_current || announcer->m_serial != serial)
            return;
        (announcer->*step)();
    };
}

void CallAnnouncer::next()
{
    if (m_current || m_stopped)
        return;
    while (!m_waiting.empty()) {
        Waiting waiting = std::move(m_waiting.front());
        m_waiting.pop_front();
        // Too late to be news: the user finds it in the call log.
        if (m_parts.clock.steadyMs() - waiting.rangAtSteadyMs > kLatestStartMs)
            continue;
        m_current = std::make_unique<Waiting>(std::move(waiting));
        ++m_serial;
        const RecordedCall& call = m_current->call;
        if (shouldBeep(m_parts.settings.BEEP, call.numberDelivered, call.hasPersonalSound))
            m_parts.sound.start({Sound::tone(kBeepFrequencyHz, kBeepDurationMs)},
                                whenSoundEnds(&CallAnnouncer::afterBeep));
        else
            afterBeep();
        return;
    }
}

void CallAnnouncer::afterBeep()
{
    const Settings& s = m_parts.settings;
    const RecordedCall& call = m_current->call;
    if (shouldShowPopup(s.MSG_SHOW, call.numberDelivered))
        m_parts.popup.showCallPopup(call.callerNumber, call.msn, call.callerName,
                                    call.numberDelivered, call.inPhoneBook);
    // A desktop notification for every announced call, when asked for: on
    // desktops where a placed, raised popup cannot be had it is what the
    // user sees.
    if (s.NOTIFY == Notify::On && m_parts.notifier)
        m_parts.notifier->notifyCall(call.callerNumber, call.msn, call.callerName,
                                     call.numberDelivered, call.inPhoneBook);
    // Armed even when no popup was opened, so that it closes one left open
    // by an earlier call.
    if (s.MSG_CLOSE == MsgClose::AfterTimeout)
        m_parts.closeTimer.arm(quint64(s.MSG_CLOSE_TIMEOUT) * 1000u);

    // Intro, personal sound and outro, one after the other, only around a
    // personal sound.
    std::vector<Sound> sounds;
    if (s.PSOUND == PersonalSounds::On && call.hasPersonalSound) {
        if (s.PSOUND_BEFORE == IntroOutro::On)
            addSoundFile(sounds, m_parts.dataDir, s.IntroFile);
        addSoundFile(sounds, m_parts.dataDir, PersonalSoundFileName(call.entryNumber));
        if (s.PSOUND_AFTER == IntroOutro::On)
            addSoundFile(sounds, m_parts.dataDir, s.OutroFile);
    }
    if (sounds.empty())
        finished();
    else
        m_parts.sound.start(std::move(sounds), whenSoundEnds(&CallAnnouncer::finished));
}

void CallAnnouncer::finished()
{
    m_current.reset();
    if (m_announced)
        m_announced();
    if (!m_waiting.empty())
        scheduleNext();
}
