#include "outcomes/OutcomeTracker.h"

#include "calllog/CallLog.h"
#include "outcomes/CallOutcomes.h"
#include "outcomes/ExtensionList.h"
#include "settings/Settings.h"
#include "sharing/CallPublisher.h"

#include <algorithm>

OutcomeTracker::OutcomeTracker(TrackerParts parts, QObject* parent)
    : QObject(parent), m_parts(std::move(parts))
{
    connect(&m_parts.outcomes, &CallOutcomes::missedChanged, this,
            &OutcomeTracker::shareMissedCount);
}

void OutcomeTracker::follow(const LineCall& call, int row, const std::optional<CallMessage>& shared)
{
    if (call.connectionId.isEmpty() || (row < 0 && !shared))
        return;
    CallOutcome ringing;
    // Only a lasting id can find its row again after a restart.
    if (call.lastingId)
        ringing.callId = call.connectionId;
    Followed followed;
    followed.handle = row >= 0 ? m_parts.outcomes.follow(row, ringing) : 0;
    followed.order = ++m_order;
    followed.message = shared;
    m_followed[call.connectionId] = std::move(followed);
    if (m_followed.size() > kMaxFollowed) {
        const auto oldest = std::min_element(
            m_followed.begin(), m_followed.end(),
            [](const auto& a, const auto& b) { return a.second.order < b.second.order; });
        m_followed.erase(oldest);
    }
}

CallState OutcomeTracker::stateOf(const LineCallEnd& end) const
{
    // The router names the extension that took the call; its answering
    // machines are extensions of their own. A shared call's desktop has
    // told already.
    if (end.state == CallState::Answered && m_parts.settings.LINE == LineKind::CallMonitor &&
        ExtensionList::parse(m_parts.settings.VOICEMAIL_EXTENSIONS)
            .contains(end.extension.toStdString()))
        return CallState::Voicemail;
    return end.state;
}

void OutcomeTracker::end(const LineCallEnd& end, bool announce)
{
    Followed followed;
    int row = -1;
    const auto it = m_followed.find(end.connectionId);
    if (it != m_followed.end()) {
        followed = std::move(it->second);
        m_followed.erase(it);
        row = m_parts.outcomes.rowOf(followed.handle);
    } else {
        // A shared call's end that comes after a restart finds its row by
        // the call's id.
        row = m_parts.outcomes.rowOfCallId(end.connectionId);
    }

    CallOutcome outcome;
    outcome.state = stateOf(end);
    if (outcome.state == CallState::Ringing)
        return;
    if (outcome.state == CallState::Answered || outcome.state == CallState::Voicemail) {
        outcome.seconds = std::max(0, end.seconds);
        outcome.extension = end.extension.toStdString();
    }
    // The same outcome again (a message the broker delivers twice, across a
    // restart) is no news: whether it was seen stays as it was.
    const CallOutcome* was = m_parts.outcomes.at(row);
    const bool repeated = was && was->state == outcome.state;
    if (was) {
        outcome.callId = was->callId;
        outcome.seen = repeated && was->seen;
    }
    m_parts.outcomes.set(row, outcome);
    // Nobody can tell what became of it: nothing is told or sent.
    if (outcome.state == CallState::Unknown)
        return;

    if (followed.message) {
        CallMessage message = *followed.message;
        message.state = outcome.state;
        message.duration = outcome.seconds;
        message.extension = QString::fromStdString(outcome.extension);
        if (CallPublisher* publisher = m_parts.publisher())
            publisher->publish(message);
    }
    if (outcome.state == CallState::Missed && !repeated && announce && row >= 0 &&
        m_parts.settings.NOTIFY == Notify::On && m_parts.notifier)
        notifyMissed(row);
}

void OutcomeTracker::notifyMissed(int row)
{
    const CallRecord& call = m_parts.callLog.at(row);
    const bool delivered = call.callerNumber != kUnknownNumber;
    m_parts.notifier->notifyMissedCall(call.callerNumber, call.callerName, delivered,
                                       delivered && call.callerName != kUnknownName);
}

void OutcomeTracker::shareMissedCount()
{
    if (CallPublisher* publisher = m_parts.publisher())
        publisher->setMissedCount(m_parts.outcomes.unseenMissed());
}
