#pragma once

#include <QDateTime>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>

class CallLog;
struct LocalDateTime;
struct Settings;

// Shows (or refreshes) and closes the call popup; the window lives in the
// shell.
class CallPopupPresenter
{
public:
    virtual ~CallPopupPresenter() = default;
    virtual void showCallPopup(const std::string& callerNumber, const std::string& msn,
                               const std::string& callerName, bool numberDelivered,
                               bool inPhoneBook) = 0;
    // Closes the popup when one is open.
    virtual void closeCallPopup() = 0;
};

// Tells the desktop's notification service of a call; the service lives in
// the shell. Never blocks.
class CallNotifier
{
public:
    virtual ~CallNotifier() = default;
    virtual void notifyCall(const std::string& callerNumber, const std::string& msn,
                            const std::string& callerName, bool numberDelivered,
                            bool inPhoneBook) = 0;
};

// Shares every logged call with other desktops; the sharing lives in the
// shell. Never blocks: a call that cannot go out now waits there. `when` is
// the moment of the call's row, to the millisecond.
class CallSharer
{
public:
    virtual ~CallSharer() = default;
    virtual void shareCall(const QDateTime& when, const std::string& callerNumber,
                           const std::string& msn, const std::string& callerName,
                           bool numberDelivered, bool inPhoneBook) = 0;
};

// What recording one call needs, passed in rather than found in globals.
struct RecordingContext
{
    const Settings& settings;
    CallLog& callLog;
    QString dataDir;
    // Told of every logged call; may be absent.
    CallSharer* sharer = nullptr;
};

// A call as recording found it: what its announcement needs.
struct RecordedCall
{
    bool handled = false;       // passed the MSN filter and was logged
    bool logSaveFailed = false; // the row is in memory but "CallID.dat" was not written
    std::string callerNumber;   // as logged: the digits, or "Ukjent nummer"
    std::string msn;
    std::string callerName; // "first surname", or "???"
    bool numberDelivered = false;
    bool inPhoneBook = false;
    // The matched phone book entry's own number, which names its personal
    // sound; empty when the caller is not in the phone book.
    std::string entryNumber;
    bool hasPersonalSound = false;
};

// True when the MSN filter admits a call to this MSN.
bool MsnFilterAdmits(const Settings& settings, const std::string& msn);

// Records one incoming call, from the copied number structs (each
// `copySize` bytes): the MSN filter, the caller's name from the phone book,
// the row in the call log at `when` (saved), and the call shared with the
// other desktops. Nothing here waits for a sound or a window.
RecordedCall RecordIncomingCall(const RecordingContext& context, const uint8_t* callingNumberCopy,
                                const uint8_t* calledNumberCopy, size_t copySize,
                                const LocalDateTime& when);
