#pragma once

#include "line/LineTiming.h"
#include "sharing/CallMessage.h"
#include "sharing/SharingConfig.h"
#include "support/MosquittoBroker.h"

#include <QStringList>
#include <QUuid>
#include <functional>
#include <string>

namespace test {

// Tries that follow each other quickly, so that a broker away and back
// takes a moment of the test.
inline LineTiming quickTiming()
{
    LineTiming timing;
    timing.callLimitMs = 5000;
    timing.retryDelaysMs = {50, 100, 200};
    return timing;
}

inline SharingConfig configFor(const MosquittoBroker& broker, const QString& hostName)
{
    SharingConfig config;
    config.publish = true;
    config.host = QStringLiteral("127.0.0.1");
    config.port = broker.port();
    config.hostName = hostName;
    return config;
}

// A call from a desktop's line, at this moment, to MSN 7654321.
inline CallMessage callMessage(const QString& host, const QString& number,
                               const QString& line = CallMessage::kLineCapi)
{
    CallMessage call;
    call.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    call.time = QDateTime::currentDateTime();
    call.msn = QStringLiteral("7654321");
    call.number = number;
    call.numberDelivered = !number.isEmpty();
    call.line = line;
    call.host = host;
    return call;
}

inline std::string text(const QStringList& lines)
{
    return lines.join(QLatin1Char('\n')).toStdString();
}

// The reports a component made, in order.
struct Reports
{
    QStringList lines;
    std::function<void(const QString&)> sink()
    {
        return [this](const QString& line) { lines << line; };
    }
    int count(const QString& part) const { return int(lines.filter(part).size()); }
};

} // namespace test
