#include "calls/IncomingCall.h"

#include "calllog/CallLog.h"
#include "calls/CallNumbers.h"
#include "phonebook/PhoneBook.h"
#include "platform/Clock.h"
#include "settings/Settings.h"

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

RecordedCall RecordIncomingCall(const RecordingContext& c, const uint8_t* calling,
                                const uint8_t* called, size_t copySize, const LocalDateTime& when)
{
    RecordedCall call;

    // The MSN, and whether this call concerns the user at all.
    const CallNumbers numbers = ExtractCallNumbers(calling, called, copySize);
    if (!MsnFilterAdmits(c.settings, numbers.msn))
        return call;
    call.callerNumber = numbers.callerNumber;
    call.msn = numbers.msn;
    call.numberDelivered = numbers.numberDelivered;

    // The caller, named from the phone book: the number as delivered, or the
    // same number written another way (as the call log matches it).
    call.callerName = kUnknownName;
    const PhoneBookEntry* entry =
        numbers.numberDelivered ? c.callLog.phoneBook().find(numbers.callerNumber) : nullptr;
    if (entry) {
        call.inPhoneBook = true;
        call.callerName = entry->firstName + ' ' + entry->surname;
        call.entryNumber = entry->number;
        // The sound recorded for that entry, under the entry's own number.
        call.hasPersonalSound = PersonalSoundExists(c.dataDir, entry->number);
    }

    // The row in the call log, in both modes that see calls; the name found
    // above goes into it, so the phone book is read once a call.
    call.handled = true;
    if (AddCall(c.callLog, numbers.callerNumber, numbers.msn, when, call.callerName))
        call.logSaveFailed = !SaveCallLog(c.callLog);
    // Shared as soon as it is logged: the other desktops need not wait for
    // this one's beep and sounds.
    if (c.sharer)
        c.sharer->shareCall(when.toDateTime(), numbers.callerNumber, numbers.msn, call.callerName,
                            numbers.numberDelivered, call.inPhoneBook);
    return call;
}
