#include "capi/CapiListener.h"

#include "capi/CapiTexts.h"

CapiListener::CapiListener(CapiApi& api, int callLimitMs)
    : m_api(api), m_callLimitMs(callLimitMs), m_link(std::make_unique<CapiLink>(api))
{
    m_link->setFatalHandler([this](const QString& text) { fail(text); });
}

void CapiListener::setCallHandler(std::function<void(const CapiLink::Call&)> handler)
{
    m_onCall = std::move(handler);
}

void CapiListener::setFatalHandler(std::function<void(const QString&)> handler)
{
    m_fatal = std::move(handler);
}

void CapiListener::fail(const QString& text)
{
    m_failed = true;
    if (m_fatal)
        m_fatal(text);
}

bool CapiListener::start()
{
    m_failed = false;
    if (!m_link->RegisterWithCapi())
        return false;
    m_link->ListenAll(CapiLink::kCipMaskAll);
    return !m_failed && m_link->isRegistered();
}

bool CapiListener::release()
{
    return m_link->ReleaseCapi();
}

void CapiListener::poll()
{
    if (m_failed || !m_link->isRegistered())
        return;
    const CapiLink::Fetched fetched = m_link->fetchOne();
    if (m_failed)
        return;
    if (fetched.kind == CapiLink::Fetched::Kind::Call) {
        // A call the last hand-over drained from the old registration may
        // come to the next one too; it has been handed on.
        if (!m_duplicates.isDuplicate(fetched.call, HandOverDuplicates::Clock::now()) && m_onCall)
            m_onCall(fetched.call);
        handOver(fetched.responseLost);
    } else if (fetched.kind == CapiLink::Fetched::Kind::LineLost) {
        handOver(true);
    }
}

void CapiListener::handOver(bool lineLost)
{
    auto next = std::make_unique<CapiLink>(m_api);
    const HandOver handOver = handOverLine(
        *m_link, *next, [] { return true; }, m_callLimitMs, lineLost);
    m_duplicates.remember(handOver.drained, HandOverDuplicates::Clock::now());
    for (const CapiLink::Call& call : handOver.drained) {
        if (m_onCall)
            m_onCall(call);
    }
    m_link = std::move(next);
    m_link->setFatalHandler([this](const QString& text) { fail(text); });
    if (handOver.listenRefused)
        fail(QString::fromUtf8(CapiTexts::kNoListenConf));
    else if (!handOver.listening)
        fail(handOver.failure.isEmpty() ? QStringLiteral("the line did not answer")
                                        : handOver.failure);
}
