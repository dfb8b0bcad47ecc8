#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// One command of the control channel, e.g. "ring from=0212345678 to=7654321
// cip=1" or "silent on". Arguments are space-separated tokens; a value is
// written with C escapes (\x20 for a space), so any bytes can travel on the
// one line. A bare token fills the one positional parameter of its command.
struct ControlRequest
{
    std::string verb;
    std::vector<std::pair<std::string, std::string>> args; // name, decoded bytes

    const std::string* find(const std::string& name) const;
    void set(const std::string& name, const std::string& value);

    // The line the client sends, without the newline.
    std::string format() const;
    // Parses a received line; sets error on an unknown command or argument.
    static std::optional<ControlRequest> parse(const std::string& line, std::string& error);
};
