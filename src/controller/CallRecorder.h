#pragma once

#include "calls/IncomingCall.h"
#include "calls/OperatingMode.h"
#include "line/LineCall.h"
#include "line/LineTiming.h"

#include <QObject>
#include <QString>
#include <memory>

class CallAnnouncer;
class CallLog;
class CallPublisher;
class Clock;
struct Settings;

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

    void record(const LineCall& call, OperatingMode mode);
    // Starts, replaces or ends the publisher as the settings have it.
    void updatePublisher();
    // The end: "offline" for the other desktops and home automation.
    void stopPublisher();
    // What publishes the calls, while the settings share them.
    CallPublisher* publisher() const { return m_publisher.get(); }

signals:
    void notice(const QString& text);
    // The problems to show under the program's name (empty: none).
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
    QString m_sharingProblem;
};
