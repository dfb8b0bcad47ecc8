#include "controller/CallRecorder.h"

#include "calllog/CallLog.h"
#include "calls/CallAnnouncer.h"
#include "capi/CapiLink.h"
#include "controller/SharingSettings.h"
#include "platform/Clock.h"
#include "platform/Report.h"
#include "settings/Settings.h"
#include "sharing/CallMessage.h"
#include "sharing/CallPublisher.h"

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>

namespace {

// The kind of line a call came from, as a shared call names it.
QString lineKindOf(const Settings& s)
{
    if (s.LINE == LineKind::Mqtt)
        return CallMessage::kLineMqtt;
    return s.LINE == LineKind::CallMonitor ? CallMessage::kLineCallMonitor : CallMessage::kLineCapi;
}

} // namespace

CallRecorder::CallRecorder(RecorderParts parts, QObject* parent)
    : QObject(parent), m_parts(std::move(parts))
{}

CallRecorder::~CallRecorder() = default;

RecordedRow CallRecorder::record(const LineCall& call, OperatingMode mode)
{
    // One reading of the clock for the row, the message on the broker and
    // the announcement: the moment the line handed the call on, or the one
    // the line knows it rang.
    const LocalDateTime now = m_parts.clock.now();
    const qint64 steadyNow = m_parts.clock.steadyMs();
    const LocalDateTime when =
        call.rangAt.isValid() ? LocalDateTime::fromDateTime(call.rangAt) : now;
    const qint64 age =
        call.rangAt.isValid() ? std::max<qint64>(0, call.rangAt.msecsTo(now.toDateTime())) : 0;

    // Both structs read as the 208-byte copies of the CAPI link: what a
    // shorter struct lacks reads as zeros.
    const QByteArray calling =
        call.callingNumber.leftJustified(int(CapiLink::kNumberCopySize), '\0', true);
    const QByteArray called =
        call.calledNumber.leftJustified(int(CapiLink::kNumberCopySize), '\0', true);
    const int rowsBefore = m_parts.callLog.size();
    m_recordingFollowed = !call.connectionId.isEmpty();
    m_shared.reset();
    const RecordedCall recorded = RecordIncomingCall(
        RecordingContext{m_parts.settings, m_parts.callLog, m_parts.dataDir, this},
        reinterpret_cast<const uint8_t*>(calling.constData()),
        reinterpret_cast<const uint8_t*>(called.constData()), CapiLink::kNumberCopySize, when);
    if (recorded.logSaveFailed) {
        reportToStandardError(QStringLiteral("could not write %1; the call is kept in memory")
                                  .arg(m_parts.callLog.filePath()));
        m_logProblem = QCoreApplication::translate("TrayIcon", "Kunne ikke skrive CallID.dat");
    } else if (recorded.handled) {
        m_logProblem.clear();
    }
    updateProblem();
    RecordedRow result;
    result.row = m_parts.callLog.size() > rowsBefore ? m_parts.callLog.size() - 1 : -1;
    result.shared = std::move(m_shared);
    m_shared.reset();

    // Logging only ("Slå av Listefunksjon"), or a call too old to ring now:
    // nothing is announced.
    if (recorded.handled && mode == OperatingMode::Enabled && call.announce)
        m_parts.announcer.enqueue(recorded, steadyNow - age);
    return result;
}

void CallRecorder::shareCall(const QDateTime& when, const std::string& callerNumber,
                             const std::string& msn, const std::string& callerName,
                             bool numberDelivered, bool inPhoneBook)
{
    if (!m_publisher)
        return;
    // A call that came from another desktop is not passed on again (the
    // publisher refuses it).
    CallMessage message =
        CallMessage::fromCall(when, msn, callerNumber, numberDelivered, callerName, inPhoneBook,
                              lineKindOf(m_parts.settings), m_publisher->topics().hostName());
    // A call the line follows is sent again with its outcome.
    if (m_recordingFollowed)
        message.state = CallState::Ringing;
    if (m_publisher->publish(message))
        m_shared = std::move(message);
}

void CallRecorder::updatePublisher()
{
    const SharingConfig config = sharingConfigOf(m_parts.settings);
    const QString choice = config.publish ? connectionChoiceOf(config) : QString();
    if (choice == m_publisherChoice)
        return;
    m_publisherChoice = choice;
    stopPublisher();
    m_publisher.reset();
    if (config.publish) {
        m_publisher = std::make_unique<CallPublisher>(config, m_parts.timing);
        connect(m_publisher.get(), &CallPublisher::notice, this, &CallRecorder::notice);
        connect(m_publisher.get(), &CallPublisher::stateChanged, this,
                &CallRecorder::updateProblem);
        m_publisher->start();
    }
    emit publisherChanged();
    updateProblem();
}

void CallRecorder::stopPublisher()
{
    if (m_publisher)
        m_publisher->stop();
}

void CallRecorder::updateProblem()
{
    // A broker away is not a line away: the calls are still watched,
    // logged and announced here, and wait to be published.
    m_sharingProblem.clear();
    if (m_publisher && m_publisher->isLost()) {
        const QDateTime since = m_publisher->lostAt();
        m_sharingProblem =
            since.isValid()
                ? QCoreApplication::translate("TrayIcon",
                                              "Deling: ingen forbindelse med MQTT-megleren %1 "
                                              "siden %2")
                      .arg(m_publisher->brokerName(),
                           since.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")))
                : QCoreApplication::translate("TrayIcon",
                                              "Deling: ingen forbindelse med MQTT-megleren %1")
                      .arg(m_publisher->brokerName());
    }
    QStringList problems;
    for (const QString& problem : {m_logProblem, m_sharingProblem}) {
        if (!problem.isEmpty())
            problems << problem;
    }
    emit problemChanged(problems.join(QLatin1Char('\n')));
}
