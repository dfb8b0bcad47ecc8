#include "callmonitor/CallMonitorParser.h"

#include "line/LineCall.h"

#include <algorithm>

namespace {

std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (true) {
        const size_t end = line.find(';', start);
        if (end == std::string_view::npos) {
            fields.push_back(line.substr(start));
            break;
        }
        fields.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    // The ';' that ends the line leaves an empty last field.
    if (fields.size() > 1 && fields.back().empty())
        fields.pop_back();
    return fields;
}

bool isDigits(std::string_view s)
{
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "dd.mm.yy hh:mm:ss"
bool isRouterDate(std::string_view s)
{
    if (s.size() != 17)
        return false;
    static constexpr char shape[] = "00.00.00 00:00:00";
    for (size_t i = 0; i < s.size(); ++i) {
        if (shape[i] == '0' ? (s[i] < '0' || s[i] > '9') : s[i] != shape[i])
            return false;
    }
    return true;
}

bool isText(std::string_view s)
{
    return std::none_of(s.begin(), s.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return (u < 0x20 && u != '\t') || u == 0x7F;
    });
}

} // namespace

std::vector<CallMonitorEvent> CallMonitorParser::feed(std::string_view bytes)
{
    std::vector<CallMonitorEvent> events;
    while (!bytes.empty()) {
        const size_t newline = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, newline);
        if (!m_discarding) {
            m_partial.append(piece);
            if (m_partial.size() > kMaxLine + 1) {
                // Far too long to be an event: thrown away up to its end.
                m_partial.clear();
                m_discarding = true;
                ++m_dropped;
            }
        }
        if (newline == std::string_view::npos)
            break;
        bytes.remove_prefix(newline + 1);
        if (m_discarding) {
            m_discarding = false;
            continue;
        }
        std::string_view line = m_partial;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        CallMonitorEvent event;
        if (parseLine(line, &event))
            events.push_back(std::move(event));
        else if (!line.empty())
            ++m_dropped;
        m_partial.clear();
    }
    return events;
}

void CallMonitorParser::reset()
{
    m_partial.clear();
    m_discarding = false;
}

bool CallMonitorParser::parseLine(std::string_view line, CallMonitorEvent* event) const
{
    if (line.empty() || line.size() > kMaxLine || !isText(line))
        return false;
    const std::vector<std::string_view> f = splitFields(line);
    if (f.size() < 4 || !isRouterDate(f[0]) || !isDigits(f[2]))
        return false;
    event->date = std::string(f[0]);
    event->connectionId = std::string(f[2]);
    if (f[1] == "RING") {
        if (f.size() < 5 || !LineCall::isTextNumber(f[3]) || !LineCall::isTextNumber(f[4]))
            return false;
        event->kind = CallMonitorEvent::Kind::Ring;
        event->caller = std::string(f[3]);
        event->called = std::string(f[4]);
        return true;
    }
    if (f[1] == "CALL") {
        event->kind = CallMonitorEvent::Kind::Call;
        return f.size() >= 6;
    }
    if (f[1] == "CONNECT") {
        if (f.size() < 5)
            return false;
        event->kind = CallMonitorEvent::Kind::Connect;
        // The call was taken whatever the extension is called; only a name
        // that is no extension number is left out.
        if (f[3].size() <= kMaxExtension && isDigits(f[3]))
            event->extension = std::string(f[3]);
        return true;
    }
    if (f[1] == "DISCONNECT") {
        event->kind = CallMonitorEvent::Kind::Disconnect;
        // The call has ended even when its length is not readable.
        if (f[3].size() <= 9 && isDigits(f[3]))
            event->seconds = std::stoi(std::string(f[3]));
        return true;
    }
    return false;
}
