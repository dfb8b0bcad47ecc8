#include "LineTestFixture.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <unistd.h>

namespace {

constexpr int kPollIntervalMs = 5;

} // namespace

void LineTestFixture::SetUp()
{
    ASSERT_TRUE(home.isValid());
    qputenv("HOME", home.path().toLocal8Bit());
}

void LineTestFixture::TearDown()
{
    // Leave the exchange with no registration of ours behind.
    if (listener && registered && fatals.empty())
        listener->release();
}

void LineTestFixture::startLine(int controllers, std::chrono::milliseconds callLimit)
{
    test::ExchangeProcess::Options options;
    options.controllers = controllers;
    ASSERT_TRUE(exchange.start(options));
    ASSERT_TRUE(exchange.writeCapiRc(home.path()));
    LineTiming timing;
    timing.callLimitMs = int(callLimit.count());
    api = std::make_unique<Libcapi20Api>(timing);
    listener = std::make_unique<CapiListener>(*api, timing.callLimitMs);
    listener->setFatalHandler([this](const QString& text) { fatals.push_back(text); });
    listener->setCallHandler([this](const CapiLink::Call& call) {
        ++calls;
        callingAtCall.assign(call.calling.begin(), call.calling.end());
        calledAtCall.assign(call.called.begin(), call.called.end());
    });
}

void LineTestFixture::registerAndListen()
{
    ASSERT_TRUE(listener->start());
    registered = true;
    ASSERT_TRUE(fatals.empty());
}

bool LineTestFixture::pollUntil(const std::function<bool()>& done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        listener->poll();
        ::usleep(kPollIntervalMs * 1000);
    }
    return true;
}

bool LineTestFixture::pollUntilLogged(const QString& pattern, int count, int timeoutMs)
{
    const bool found = pollUntil([&] { return logged(pattern) >= count; }, timeoutMs);
    if (!found) {
        ADD_FAILURE() << "fewer than " << count << " log lines match " << pattern.toStdString()
                      << "; the log:\n"
                      << exchange.logLines().join('\n').toStdString();
    }
    return found;
}

int LineTestFixture::logged(const QString& pattern) const
{
    return exchange.countLog(QRegularExpression(pattern));
}

QString LineTestFixture::hex16(unsigned value)
{
    return QString::asprintf("%02x%02x", value & 0xff, (value >> 8) & 0xff);
}

QString LineTestFixture::hex32(unsigned value)
{
    return hex16(value & 0xffff) + hex16(value >> 16);
}
