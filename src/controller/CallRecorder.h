#pragma once

#include "calls/IncomingCall.h"
#include "calls/OperatingMode.h"
#include "line/LineCall.h"
#include "line/LineTiming.h"
#include "sharing/CallMessage.h"

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class CallAnnouncer;
class CallLog;
class CallPublisher;
class Clock;
struct Settings;

// What became of recording one call: its row in the call log (-1: none, the
// MSN filter stopped it) and the message it was shared with, if it was.
struct RecordedRow
{
    int row = -1;
    std::optional<CallMessage> shared;
};

// What recording calls works with.
struct RecorderParts
{
    const Settings& settings;
    CallLog& callLog;
    CallAnnouncer& announcer;
    const Clock& clock;
    QString dataDir;
    LineTiming timing;
};

// The call path: every call a line hands on is recorded at once (the MSN
// filter, the caller's name, the row in the call log, the message on the
// broker), then queued for its announcement. It also keeps the publisher of
// the calls as the settings have it, and says what is wrong with either (a
// call log that could not be written, a broker away).
class CallRecorder : public QObject, private CallSharer
{
    Q_OBJECT
public:
    explicit CallRecorder(RecorderParts parts, QObject* parent = nullptr);
    ~CallRecorder() override;

    RecordedRow record(const LineCall& call, OperatingMode mode);
    // Starts, replaces or ends the publisher as the settings have it.
    void updatePublisher();
    // The end: "offline" for the other desktops and home automation.
    void stopPublisher();
    // What publishes the calls, while the settings share them.
    CallPublisher* publisher() const { return m_publisher.get(); }

signals:
    void notice(const QString& text);
    // Another publisher (or none) took over.
    void publisherChanged();
    // The problems to show under the program's name (empty: none), in the
    // language of the windows.
    void problemChanged(const QString& text);

private:
    void shareCall(const QDateTime& when, const std::string& callerNumber, const std::string& msn,
                   const std::string& callerName, bool numberDelivered, bool inPhoneBook) override;
    void updateProblem();

    RecorderParts m_parts;
    std::unique_ptr<CallPublisher> m_publisher;
    // What the publisher was made with; empty while nothing is shared.
    QString m_publisherChoice;
    QString m_logProblem;
    // While a call is recorded: whether its line follows it, and the
    // message it was shared with.
    bool m_recordingFollowed = false;
    std::optional<CallMessage> m_shared;
    QString m_sharingProblem;
};
