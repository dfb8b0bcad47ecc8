#pragma once

#include "calls/OperatingMode.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>

class CallLog;
class Clock;
class SoundOutput;
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
// shell. Never blocks: a call that cannot go out now waits there.
class CallSharer
{
public:
    virtual ~CallSharer() = default;
    virtual void shareCall(const std::string& callerNumber, const std::string& msn,
                           const std::string& callerName, bool numberDelivered,
                           bool inPhoneBook) = 0;
};

// The popup's close timer. Arming it while it runs starts it again with the
// new period.
class CloseTimer
{
public:
    virtual ~CloseTimer() = default;
    virtual void arm(quint64 milliseconds) = 0;
};

// Everything one call needs, passed in rather than found in globals.
struct CallContext
{
    const Settings& settings;
    OperatingMode mode;
    CallLog& callLog;
    const Clock& clock;
    SoundOutput& sound;
    CallPopupPresenter& popup;
    CloseTimer& closeTimer;
    QString dataDir;
    // Desktop notifications (the setting NOTIFY decides); may be absent.
    CallNotifier* notifier = nullptr;
    // Told of every logged call, in both modes that see calls; may be
    // absent.
    CallSharer* sharer = nullptr;
};

// What became of a call, for the caller to report.
struct CallResult
{
    bool handled = false;       // passed the MSN filter and was logged
    bool logSaveFailed = false; // the row is in memory but "CallID.dat" was not written
    bool announced = false;     // not stopped by OutputDisabled
};

constexpr int kBeepFrequencyHz = 400;
constexpr int kBeepDurationMs = 400;

// True when the MSN filter admits a call to this MSN.
bool MsnFilterAdmits(const Settings& settings, const std::string& msn);

// One incoming call, from the copied number structs (each `copySize` bytes)
// to the log row, the beep, the popup, the close timer and the sounds, in
// that order.
CallResult HandleIncomingCall(const CallContext& context, const uint8_t* callingNumberCopy,
                              const uint8_t* calledNumberCopy, size_t copySize);
