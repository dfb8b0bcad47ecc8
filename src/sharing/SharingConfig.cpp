#include "sharing/SharingConfig.h"

#include <QStringList>
#include <QSysInfo>

namespace {

bool isControl(QChar c)
{
    return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0);
}

// A wildcard or a separator would make one level several, or a
// subscription match more than was meant.
bool breaksLevel(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('+') || c == QLatin1Char('#') || isControl(c);
}

} // namespace

QString SharingConfig::defaultHostName()
{
    return topicLevel(QSysInfo::machineHostName());
}

QString SharingConfig::topicLevel(const QString& text)
{
    QString level = text.trimmed();
    for (QChar& c : level) {
        if (breaksLevel(c))
            c = QLatin1Char('_');
    }
    return level.isEmpty() ? QStringLiteral("_") : level;
}

QString SharingConfig::topicPrefix(const QString& text)
{
    QStringList levels;
    for (const QString& part : text.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        const QString trimmed = part.trimmed();
        if (!trimmed.isEmpty())
            levels << topicLevel(trimmed);
    }
    return levels.isEmpty() ? QStringLiteral("ringvakt") : levels.join(QLatin1Char('/'));
}

bool SharingConfig::isTopicPrefix(const QString& text)
{
    if (text.isEmpty())
        return true;
    for (const QString& level : text.split(QLatin1Char('/'))) {
        if (level.isEmpty() || level != level.trimmed() || topicLevel(level) != level)
            return false;
    }
    return true;
}

QString SharingConfig::brokerName() const
{
    return QStringLiteral("%1:%2").arg(host).arg(port);
}
