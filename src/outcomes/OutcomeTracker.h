#pragma once

#include "line/LineCall.h"
#include "line/LineCallEnd.h"
#include "sharing/CallMessage.h"

#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <string>

class CallLog;
class CallOutcomes;
class CallPublisher;
struct Settings;

// Tells the desktop of a missed call; the notifications live in the shell.
// Never blocks.
class MissedCallNotifier
{
public:
    virtual ~MissedCallNotifier() = default;
    virtual void notifyMissedCall(const std::string& callerNumber, const std::string& callerName,
                                  bool numberDelivered, bool inPhoneBook) = 0;
};

// What following calls works with.
struct TrackerParts
{
    const Settings& settings;
    CallLog& callLog;
    CallOutcomes& outcomes;
    // What publishes the calls now; none while nothing is shared.
    std::function<CallPublisher*()> publisher;
    // Desktop notifications of missed calls; may be absent. Asked only when
    // the settings want notifications.
    MissedCallNotifier* notifier = nullptr;
};

// Follows the calls a line can follow from their ring to their end: keeps
// what became of each with its row (CallOutcomes), sends the call's message
// again with its outcome, tells of a missed call, and keeps the count of
// missed calls not yet seen on the broker. A call taken at one of the
// answering machines' extensions (VOICEMAIL_EXTENSIONS, on the router's
// call monitor) went to the answering machine.
class OutcomeTracker : public QObject
{
    Q_OBJECT
public:
    // The calls followed at once, at most: a line that never ends its calls
    // (a desktop gone for good) does not fill the memory.
    static constexpr size_t kMaxFollowed = 1000;

    explicit OutcomeTracker(TrackerParts parts, QObject* parent = nullptr);

    // A call just recorded: in `row` of the call log (-1: none, the MSN
    // filter stopped it), and shared as `shared`. Followed when its line
    // can follow it.
    void follow(const LineCall& call, int row, const std::optional<CallMessage>& shared);
    // The end of a followed call. `announce`: the mode announces calls, so a
    // missed call is told.
    void end(const LineCallEnd& end, bool announce);
    // Publishes the count of missed calls not yet seen.
    void shareMissedCount();

    int followed() const { return int(m_followed.size()); }

private:
    struct Followed
    {
        quint64 handle = 0;
        quint64 order = 0;
        std::optional<CallMessage> message;
    };
    CallState stateOf(const LineCallEnd& end) const;
    void notifyMissed(int row);

    TrackerParts m_parts;
    std::map<QString, Followed> m_followed;
    quint64 m_order = 0;
};
