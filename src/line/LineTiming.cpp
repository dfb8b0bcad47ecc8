#include "line/LineTiming.h"

#include "platform/Report.h"

#include <QStringList>
#include <algorithm>

namespace {

bool toNumbers(const QString& text, std::vector<int>* out)
{
    out->clear();
    for (const QString& part : text.split(QLatin1Char(':'))) {
        bool ok = false;
        const int value = part.toInt(&ok);
        if (!ok || value < 0)
            return false;
        out->push_back(value);
    }
    return !out->empty();
}

} // namespace

int LineTiming::retryDelayMs(int attempt) const
{
    if (retryDelaysMs.empty())
        return 30000;
    const size_t index = std::min(size_t(std::max(0, attempt)), retryDelaysMs.size() - 1);
    return retryDelaysMs[index];
}

bool LineTiming::parse(const QString& text, LineTiming* timing)
{
    LineTiming t = *timing;
    for (const QString& item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const int eq = item.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return false;
        const QString key = item.left(eq).trimmed();
        std::vector<int> numbers;
        if (!toNumbers(item.mid(eq + 1).trimmed(), &numbers))
            return false;
        if (key == QLatin1String("call") && numbers.size() == 1) {
            t.callLimitMs = numbers[0];
        } else if (key == QLatin1String("frame") && numbers.size() == 1) {
            t.frameLimitMs = numbers[0];
        } else if (key == QLatin1String("retry")) {
            t.retryDelaysMs = numbers;
        } else if (key == QLatin1String("keepalive") && numbers.size() == 3) {
            t.keepAliveIdleSeconds = std::max(1, numbers[0]);
            t.keepAliveIntervalSeconds = std::max(1, numbers[1]);
            t.keepAliveCount = std::max(1, numbers[2]);
        } else {
            return false;
        }
    }
    *timing = t;
    return true;
}

LineTiming LineTiming::fromEnvironment()
{
    LineTiming timing;
    const QString text = qEnvironmentVariable("RINGVAKT_TEST_LINE_TIMING");
    if (!text.isEmpty() && !parse(text, &timing))
        reportToStandardError(
            QStringLiteral("RINGVAKT_TEST_LINE_TIMING is malformed and is ignored"));
    return timing;
}
