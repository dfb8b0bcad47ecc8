#pragma once

#include "sharing/SharingConfig.h"

#include <QString>

// The topics of one desktop under the prefix:
//   <prefix>/<host>/call    the last call, as a JSON message (retained)
//   <prefix>/<host>/status  "online" or "offline" (retained)
//   <prefix>/<host>/missed  the missed calls not yet seen there (retained)
// Prefix, host name and host filter are made safe as topic parts here, so
// that nothing a user typed can widen a subscription.
class SharingTopics
{
public:
    explicit SharingTopics(const SharingConfig& config);

    QString prefix() const { return m_prefix; }
    QString hostName() const { return m_hostName; }
    // Empty when calls of every host are taken.
    QString hostFilter() const { return m_hostFilter; }
    QString callTopic() const { return callTopicOf(m_hostName); }
    QString statusTopic() const;
    QString missedTopic() const;
    QString callTopicOf(const QString& host) const;
    // What a receiving desktop subscribes to: the call topic of the host
    // filter, or of every host when there is none.
    QString callSubscription() const;
    // The host level of a call topic under this prefix; empty when the
    // topic is not one.
    QString hostOfCallTopic(const QString& topic) const;

private:
    QString m_prefix;
    QString m_hostName;
    QString m_hostFilter;
};
