#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Conversions between bytes and the text forms used on the command line, the
// control channel and in the log.
namespace codec {

// Lower-case hex, two digits per byte, no separators.
std::string toHex(const std::string& bytes);
// Hex digits (either case, even count, spaces and colons allowed between
// bytes) to bytes; nullopt on anything else.
std::optional<std::string> fromHex(const std::string& text);

// Resolves C escapes: \\ \r \n \t \0 \" \' and \xNN (exactly two hex
// digits). Sets error and returns nullopt on a malformed escape.
std::optional<std::string> unescape(const std::string& text, std::string& error);
// The inverse for one space-free token: backslash, space, '=' is kept,
// control bytes and bytes from 0x7f up become escapes.
std::string escapeToken(const std::string& bytes);

// An unsigned number in decimal or, with a leading 0x, hex, at most max.
std::optional<uint32_t> parseNumber(const std::string& text, uint32_t max);
// Non-negative seconds with up to three decimals ("1", "0.25"), at most max;
// returns milliseconds.
std::optional<int64_t> parseSeconds(const std::string& text, int64_t maxSeconds);

} // namespace codec
