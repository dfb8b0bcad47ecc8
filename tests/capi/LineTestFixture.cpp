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
    if (link && registered && fatals.empty())
        link->ReleaseCapi();
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
    link = std::make_unique<CapiLink>(*api);
    link->setFatalHandler([this](const QString& text) { fatals.push_back(text); });
    link->setCallHandler([this] {
        ++calls;
        callingAtCall.assign(link->callingNumberCopy(),
                             link->callingNumberCopy() + CapiLink::kNumberCopySize);
        calledAtCall.assign(link->calledNumberCopy(),
                            link->calledNumberCopy() + CapiLink::kNumberCopySize);
    });
}

void LineTestFixture::registerAndListen()
{
    ASSERT_TRUE(link->RegisterWithCapi());
    registered = true;
    ASSERT_EQ(link->ListenAll(CapiLink::kCipMaskAll), 0u);
    ASSERT_TRUE(fatals.empty());
}

bool LineTestFixture::pollUntil(const std::function<bool()>& done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        link->PollCapi();
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
