#include "sharing/SharingTopics.h"

namespace {

const QString kCall = QStringLiteral("call");

} // namespace

SharingTopics::SharingTopics(const SharingConfig& config)
    : m_prefix(SharingConfig::topicPrefix(config.prefix)),
      m_hostName(SharingConfig::topicLevel(config.hostName)),
      m_hostFilter(config.hostFilter.trimmed().isEmpty()
                       ? QString()
                       : SharingConfig::topicLevel(config.hostFilter))
{}

QString SharingTopics::statusTopic() const
{
    return m_prefix + QLatin1Char('/') + m_hostName + QStringLiteral("/status");
}

QString SharingTopics::missedTopic() const
{
    return m_prefix + QLatin1Char('/') + m_hostName + QStringLiteral("/missed");
}

QString SharingTopics::callTopicOf(const QString& host) const
{
    return m_prefix + QLatin1Char('/') + host + QLatin1Char('/') + kCall;
}

QString SharingTopics::callSubscription() const
{
    return callTopicOf(m_hostFilter.isEmpty() ? QStringLiteral("+") : m_hostFilter);
}

QString SharingTopics::hostOfCallTopic(const QString& topic) const
{
    const QString head = m_prefix + QLatin1Char('/');
    const QString tail = QLatin1Char('/') + kCall;
    if (topic.size() <= head.size() + tail.size() || !topic.startsWith(head) ||
        !topic.endsWith(tail))
        return {};
    const QString host = topic.mid(head.size(), topic.size() - head.size() - tail.size());
    return host.contains(QLatin1Char('/')) ? QString() : host;
}
