#include "callmonitor/CallMonitorCalls.h"

LineCallEnd CallMonitorCalls::unknown(const std::string& id)
{
    LineCallEnd end;
    end.connectionId = QString::fromStdString(id);
    end.state = CallState::Unknown;
    return end;
}

std::optional<LineCallEnd> CallMonitorCalls::follow(const CallMonitorEvent& event)
{
    using Kind = CallMonitorEvent::Kind;
    const auto it = m_calls.find(event.connectionId);
    switch (event.kind) {
    case Kind::Ring:
    case Kind::Call: {
        // A new call under an id that a followed call still had: that one
        // ended unheard.
        std::optional<LineCallEnd> ended;
        if (it != m_calls.end()) {
            ended = unknown(event.connectionId);
            m_calls.erase(it);
        }
        if (event.kind == Kind::Ring)
            m_calls[event.connectionId] = Open();
        return ended;
    }
    case Kind::Connect:
        if (it != m_calls.end()) {
            it->second.connected = true;
            it->second.extension = event.extension;
        }
        return std::nullopt;
    case Kind::Disconnect: {
        if (it == m_calls.end())
            return std::nullopt;
        LineCallEnd end;
        end.connectionId = QString::fromStdString(event.connectionId);
        if (it->second.connected) {
            end.state = CallState::Answered;
            end.seconds = event.seconds;
            end.extension = QString::fromStdString(it->second.extension);
        } else {
            end.state = CallState::Missed;
        }
        m_calls.erase(it);
        return end;
    }
    }
    return std::nullopt;
}

std::vector<LineCallEnd> CallMonitorCalls::lose()
{
    std::vector<LineCallEnd> ends;
    for (const auto& entry : m_calls)
        ends.push_back(unknown(entry.first));
    m_calls.clear();
    return ends;
}
