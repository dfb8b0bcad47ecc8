#include "EventLog.h"

#include "TextCodec.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

std::string localTimestamp()
{
    timeval now{};
    ::gettimeofday(&now, nullptr);
    tm local{};
    ::localtime_r(&now.tv_sec, &local);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min,
                  local.tm_sec, int(now.tv_usec / 1000));
    return text;
}

} // namespace

LogFields& LogFields::text(const char* key, const std::string& value)
{
    m_text += ' ';
    m_text += key;
    m_text += '=';
    m_text += value;
    return *this;
}

LogFields& LogFields::number(const char* key, uint64_t value)
{
    return text(key, std::to_string(value));
}

LogFields& LogFields::hex16(const char* key, uint16_t value)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "0x%04x", unsigned(value));
    return text(key, buffer);
}

LogFields& LogFields::hex32(const char* key, uint32_t value)
{
    char buffer[12];
    std::snprintf(buffer, sizeof buffer, "0x%08x", unsigned(value));
    return text(key, buffer);
}

LogFields& LogFields::bytes(const std::string& message)
{
    number("len", message.size());
    return text("bytes", codec::toHex(message));
}

LogFields& LogFields::tokens(const std::string& spaceSeparated)
{
    if (!spaceSeparated.empty()) {
        m_text += ' ';
        m_text += spaceSeparated;
    }
    return *this;
}

bool EventLog::open(const std::string& path, std::string& error)
{
    if (path.empty()) {
        m_fd = 1;
        return true;
    }
    m_file.reset(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
    if (!m_file.valid()) {
        error = "cannot open the log " + path + ": " + std::strerror(errno);
        return false;
    }
    m_fd = m_file.get();
    return true;
}

void EventLog::write(unsigned conn, const char* event, const LogFields& fields)
{
    std::string line = localTimestamp();
    line += " conn=";
    line += std::to_string(conn);
    line += ' ';
    line += event;
    line += fields.str();
    line += '\n';
    // One write per line: with O_APPEND the line lands whole even while a
    // reader follows the file.
    size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(m_fd, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return; // a log that cannot be written must not stop the line
        done += size_t(n);
    }
}
