#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// What became of a call that a line can follow after its ring.
enum class CallState : std::uint8_t
{
    // Rung, and not (yet) ended.
    Ringing,
    // Taken at an extension of the house.
    Answered,
    // Ended without anyone taking it.
    Missed,
    // Taken by an answering machine.
    Voicemail,
    // The line lost the call before its end: nobody can tell.
    Unknown,
};

// The words the outcome file and the broker's messages use: "ringing",
// "answered", "missed", "voicemail", "unknown".
const char* callStateWord(CallState state);
// The state a word names; nullopt for any other text.
std::optional<CallState> callStateOf(std::string_view word);
