#include "calls/IncomingCall.h"

#include "calllog/CallLog.h"
#include "calls/CallNumbers.h"
#include "phonebook/PhoneBook.h"
#include "platform/SoundFiles.h"
#include "platform/SoundOutput.h"
#include "settings/Settings.h"

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

void playInSoundDir(const CallContext& c, const std::string& fileName)
{
    // A missing file is played all the same: the player then plays its
    // default sound, as the user has always heard it. Only a name that
    // cannot be inside "sound/" is not played at all.
    const auto path = soundfiles::findExisting(c.dataDir, fileName);
    if (path) {
        c.sound.playFile(*path);
    } else if (const auto planned = soundfiles::pathFor(c.dataDir, fileName)) {
        c.sound.playFile(*planned);
    }
}

} // namespace

bool MsnFilterAdmits(const Settings& s, const std::string& msn)
{
    if (s.MSN_LOG == MsnLog::All)
        return true;
    if ((s.MSN_LOG & MsnLog::Msn1) && msn == s.MSN_1)
        return true;
    if ((s.MSN_LOG & MsnLog::Msn2) && msn == s.MSN_2)
        return true;
    if ((s.MSN_LOG & MsnLog::Msn3) && msn == s.MSN_3)
        return true;
    return false;
}

CallResult HandleIncomingCall(const CallContext& c, const uint8_t* calling, const uint8_t* called,
                              size_t copySize)
{
    CallResult result;
    const Settings& s = c.settings;

    // The MSN, and whether this call concerns the user at all.
    const CallNumbers numbers = ExtractCallNumbers(calling, called, copySize);
    if (!MsnFilterAdmits(s, numbers.msn))
        return result;

    // The caller, named from the phone book: the number as delivered, or the
    // same number written another way (as the call log matches it).
    PhoneBookEntry entry;
    bool inPhoneBook = false;
    std::string callerName = kUnknownName;
    if (numbers.numberDelivered &&
        FindPhoneBookEntry(c.dataDir, c.callLog.numbers(), numbers.callerNumber, &entry)) {
        inPhoneBook = true;
        callerName = entry.firstName + ' ' + entry.surname;
    }

    // A personal sound is looked for only for a caller in the phone book: the
    // one recorded for that entry, under the entry's own number.
    const bool hasPersonalSound = inPhoneBook && PersonalSoundExists(c.dataDir, entry.number);

    // The row in the call log, in both modes that see calls.
    result.handled = true;
    // The name found above goes into the row: the phone book is read once a
    // call.
    if (AddCall(c.callLog, numbers.callerNumber, numbers.msn, c.clock, callerName))
        result.logSaveFailed = !SaveCallLog(c.callLog);
    // Shared before it is announced: the beep and the sounds take seconds
    // that the other desktops need not wait for.
    if (c.sharer)
        c.sharer->shareCall(numbers.callerNumber, numbers.msn, callerName, numbers.numberDelivered,
                            inPhoneBook);

    // Logging only: nothing is announced.
    if (c.mode == OperatingMode::OutputDisabled)
        return result;
    result.announced = true;

    // Beep, popup, close timer (armed even when no popup was opened,
    // so that it closes one left open by an earlier call).
    if (shouldBeep(s.BEEP, numbers.numberDelivered, hasPersonalSound))
        c.sound.beep(kBeepFrequencyHz, kBeepDurationMs);
    if (shouldShowPopup(s.MSG_SHOW, numbers.numberDelivered))
        c.popup.showCallPopup(numbers.callerNumber, numbers.msn, callerName,
                              numbers.numberDelivered, inPhoneBook);
    // A desktop notification for every announced call, when asked for: on
    // desktops where a placed, raised popup cannot be had it is what the
    // user sees.
    if (s.NOTIFY == Notify::On && c.notifier)
        c.notifier->notifyCall(numbers.callerNumber, numbers.msn, callerName,
                               numbers.numberDelivered, inPhoneBook);
    if (s.MSG_CLOSE == MsgClose::AfterTimeout)
        c.closeTimer.arm(quint64(s.MSG_CLOSE_TIMEOUT) * 1000u);

    // Intro, personal sound and outro, one after the other, only around
    // a personal sound.
    if (s.PSOUND == PersonalSounds::On && hasPersonalSound) {
        if (s.PSOUND_BEFORE == IntroOutro::On)
            playInSoundDir(c, s.IntroFile);
        playInSoundDir(c, PersonalSoundFileName(entry.number));
        if (s.PSOUND_AFTER == IntroOutro::On)
            playInSoundDir(c, s.OutroFile);
    }
    return result;
}
