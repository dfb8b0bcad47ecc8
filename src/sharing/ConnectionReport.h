#pragma once

#include <QString>
#include <functional>

// The lines written when a connection to the broker is lost and when it is
// back, one each, with the time, as every kind of line writes them. A
// receiving desktop's broker is its line ("line lost: MQTT broker ...");
// the broker a desktop shares its calls through is named as such ("MQTT
// broker ... lost"), so that a telephone line is never thought lost.
class ConnectionReport
{
public:
    enum class Naming
    {
        AsLine,
        AsBroker
    };

    ConnectionReport();

    // Standard error by default.
    void setSink(std::function<void(const QString&)> sink) { m_sink = std::move(sink); }
    void setNaming(Naming naming) { m_naming = naming; }

    void lost(const QString& broker, const QString& why, int retryDelayMs) const;
    void back(const QString& broker, int tries) const;

private:
    std::function<void(const QString&)> m_sink;
    Naming m_naming = Naming::AsLine;
};
