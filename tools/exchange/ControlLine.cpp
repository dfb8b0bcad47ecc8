#include "ControlLine.h"

#include "TextCodec.h"

#include <cstring>

namespace {

struct CommandInfo
{
    const char* verb;
    const char* positional; // nullptr: none
    std::vector<const char*> named;
};

const std::vector<CommandInfo>& commands()
{
    static const std::vector<CommandInfo> table = {
        {"ring", nullptr, {"from", "to", "cip", "when"}},
        {"raw", "hex", {"hex"}},
        {"raw-bytes", "hex", {"hex"}},
        {"drop", nullptr, {}},
        {"refuse", "seconds", {"seconds"}},
        {"silent", "state", {"state"}},
        {"mute", "state", {"state"}},
        {"cm-raw", "text", {"text"}},
        {"connect", nullptr, {"call", "extension"}},
        {"disconnect", nullptr, {"call", "seconds"}},
        {"cm-drop", nullptr, {}},
        {"status", nullptr, {}},
        {"quit", nullptr, {}},
    };
    return table;
}

const CommandInfo* findCommand(const std::string& verb)
{
    for (const CommandInfo& info : commands()) {
        if (verb == info.verb)
            return &info;
    }
    return nullptr;
}

bool isNamed(const CommandInfo& info, const std::string& name)
{
    for (const char* known : info.named) {
        if (name == known)
            return true;
    }
    return false;
}

std::vector<std::string> splitTokens(const std::string& line)
{
    std::vector<std::string> tokens;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        size_t end = i;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r')
            ++end;
        if (end > i)
            tokens.push_back(line.substr(i, end - i));
        i = end;
    }
    return tokens;
}

} // namespace

const std::string* ControlRequest::find(const std::string& name) const
{
    for (const auto& arg : args) {
        if (arg.first == name)
            return &arg.second;
    }
    return nullptr;
}

void ControlRequest::set(const std::string& name, const std::string& value)
{
    for (auto& arg : args) {
        if (arg.first == name) {
            arg.second = value;
            return;
        }
    }
    args.emplace_back(name, value);
}

std::string ControlRequest::format() const
{
    std::string line = verb;
    for (const auto& arg : args) {
        line += ' ';
        line += arg.first;
        line += '=';
        line += codec::escapeToken(arg.second);
    }
    return line;
}

std::optional<ControlRequest> ControlRequest::parse(const std::string& line, std::string& error)
{
    const std::vector<std::string> tokens = splitTokens(line);
    if (tokens.empty()) {
        error = "empty command";
        return std::nullopt;
    }
    const CommandInfo* info = findCommand(tokens[0]);
    if (!info) {
        error = "unknown command " + codec::escapeToken(tokens[0]);
        return std::nullopt;
    }
    ControlRequest request;
    request.verb = tokens[0];
    for (size_t i = 1; i < tokens.size(); ++i) {
        const std::string& token = tokens[i];
        const size_t equals = token.find('=');
        std::string name;
        std::string text;
        if (equals != std::string::npos && isNamed(*info, token.substr(0, equals))) {
            name = token.substr(0, equals);
            text = token.substr(equals + 1);
        } else if (info->positional && !request.find(info->positional)) {
            name = info->positional;
            text = token;
        } else {
            error = "unexpected argument " + token + " for " + request.verb;
            return std::nullopt;
        }
        if (request.find(name)) {
            error = "argument " + name + " given twice";
            return std::nullopt;
        }
        std::string escapeError;
        const std::optional<std::string> value = codec::unescape(text, escapeError);
        if (!value) {
            error = "argument " + name + ": " + escapeError;
            return std::nullopt;
        }
        request.args.emplace_back(name, *value);
    }
    return request;
}
