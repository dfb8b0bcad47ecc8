#include "capi/CapiHandOver.h"

#include <algorithm>

namespace {

bool sameCall(const CapiLink::Call& a, const CapiLink::Call& b)
{
    return a.plci == b.plci && a.calling == b.calling && a.called == b.called;
}

} // namespace

HandOver handOverLine(CapiLink& from, CapiLink& to, const std::function<bool()>& stillWanted,
                      int confirmLimitMs, bool fromLost)
{
    HandOver result;
    const auto capture = [&result](const QString& text) {
        if (result.failure.isEmpty())
            result.failure = text;
    };
    from.setFatalHandler(capture);
    to.setFatalHandler(capture);
    if (fromLost && from.isRegistered()) {
        from.ReleaseCapi();
        result.failure.clear();
    }

    if (stillWanted() && to.RegisterWithCapi()) {
        const unsigned listen = to.ListenAll(CapiLink::kCipMaskAll);
        if (listen != 0) {
            if (result.failure.isEmpty())
                result.failure = QStringLiteral("the listen request could not be sent (0x%1)")
                                     .arg(listen, 4, 16, QLatin1Char('0'));
            to.ReleaseCapi();
        }
    }
    // Calls told to the next registration before it is known to listen come
    // after those the old one holds.
    std::vector<CapiLink::Call> early;
    if (to.isRegistered()) {
        switch (to.awaitListening(
            confirmLimitMs, [&early](const CapiLink::Call& call) { early.push_back(call); })) {
        case CapiLink::Listening::Confirmed:
            result.listening = true;
            break;
        case CapiLink::Listening::Refused:
            result.listenRefused = true;
            to.ReleaseCapi();
            break;
        case CapiLink::Listening::NotConfirmed:
            result.failure = QStringLiteral("the line did not confirm the listen request");
            to.ReleaseCapi();
            break;
        case CapiLink::Listening::LineLost:
            result.failure = QStringLiteral("the connection to the line is gone");
            to.ReleaseCapi();
            break;
        }
    }
    if (from.isRegistered()) {
        from.drain([&result](const CapiLink::Call& call) { result.drained.push_back(call); });
        // The registration of a line that is gone cannot be released; the
        // library drops it all the same. What counts is the next one.
        const QString failure = result.failure;
        from.ReleaseCapi();
        result.failure = failure;
    }
    // A call told to both is the old one's.
    for (const CapiLink::Call& call : early) {
        const bool drained =
            std::any_of(result.drained.begin(), result.drained.end(),
                        [&call](const CapiLink::Call& old) { return sameCall(old, call); });
        if (!drained)
            result.drained.push_back(call);
    }
    if (result.listening && !stillWanted()) {
        // Switched off (or ending) meanwhile: undone here.
        to.ReleaseCapi();
        result.listening = false;
    }
    return result;
}

void HandOverDuplicates::remember(const std::vector<CapiLink::Call>& drained, Clock::time_point now)
{
    m_calls.erase(std::remove_if(m_calls.begin(), m_calls.end(),
                                 [now](const Seen& seen) { return seen.until <= now; }),
                  m_calls.end());
    for (const CapiLink::Call& call : drained)
        m_calls.push_back(Seen{call, now + kWindow});
}

bool HandOverDuplicates::isDuplicate(const CapiLink::Call& call, Clock::time_point now)
{
    const auto same = std::find_if(m_calls.begin(), m_calls.end(), [&](const Seen& seen) {
        return seen.until > now && sameCall(seen.call, call);
    });
    if (same == m_calls.end())
        return false;
    m_calls.erase(same);
    return true;
}
