#pragma once

#include "FileDescriptor.h"

#include <cstdint>
#include <string>

// The key=value part of one log line, built in the order the keys are added.
class LogFields
{
public:
    LogFields& text(const char* key, const std::string& value);
    LogFields& number(const char* key, uint64_t value);
    LogFields& hex16(const char* key, uint16_t value); // 0x%04x
    LogFields& hex32(const char* key, uint32_t value); // 0x%08x
    LogFields& bytes(const std::string& message);      // len=<n> bytes=<hex>
    // Appends the key=value tokens of a reply such as "ok capi=1 cm=0".
    LogFields& tokens(const std::string& spaceSeparated);
    const std::string& str() const { return m_text; }

private:
    std::string m_text;
};

// The exchange's log: one line per event,
// "HH:MM:SS.mmm conn=<n> <EVENT> key=value ...", written with a single
// write() the moment it happens so that tests can follow it while the
// exchange runs.
class EventLog
{
public:
    // Appends to path; an empty path logs to standard output.
    bool open(const std::string& path, std::string& error);
    void write(unsigned conn, const char* event, const LogFields& fields = {});

private:
    FileDescriptor m_file;
    int m_fd = 1;
};
