#pragma once

#include "capi/CapiHandOver.h"
#include "capi/CapiLink.h"

#include <QString>
#include <functional>
#include <memory>

class CapiApi;

// The line one registration at a time, on the calling thread, as
// ringvakt-listen keeps it: one message a poll; after a call, and when the
// line is found lost, the next registration listens before this one is
// released (handOverLine). Each call goes to the call handler once, in the
// order they rang. A failure goes to the fatal handler, and nothing more is
// fetched after it.
class CapiListener
{
public:
    // `callLimitMs` bounds the wait for the line to confirm a listen request.
    CapiListener(CapiApi& api, int callLimitMs);

    void setCallHandler(std::function<void(const CapiLink::Call&)> handler);
    void setFatalHandler(std::function<void(const QString&)> handler);

    // Registers and listens on every controller; false after a failure.
    bool start();
    void poll();
    // Releases the registration that stands; false after a failure.
    bool release();

    const CapiLink& link() const { return *m_link; }

private:
    // `lineLost`: the registration there is hears nothing any more.
    void handOver(bool lineLost);
    void fail(const QString& text);

    CapiApi& m_api;
    int m_callLimitMs;
    std::unique_ptr<CapiLink> m_link;
    HandOverDuplicates m_duplicates;
    std::function<void(const CapiLink::Call&)> m_onCall;
    std::function<void(const QString&)> m_fatal;
    bool m_failed = false;
};
