#include "line/CallState.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<CallState, const char*>, 5> kWords = {{
    {CallState::Ringing, "ringing"},
    {CallState::Answered, "answered"},
    {CallState::Missed, "missed"},
    {CallState::Voicemail, "voicemail"},
    {CallState::Unknown, "unknown"},
}};

} // namespace

const char* callStateWord(CallState state)
{
    for (const auto& [s, word] : kWords) {
        if (s == state)
            return word;
    }
    return "unknown";
}

std::optional<CallState> callStateOf(std::string_view word)
{
    for (const auto& [state, w] : kWords) {
        if (word == w)
            return state;
    }
    return std::nullopt;
}
