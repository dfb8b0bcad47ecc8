#include "TextCodec.h"

#include <cctype>

namespace codec {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

const char kDigits[] = "0123456789abcdef";

} // namespace

std::string toHex(const std::string& bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += kDigits[c >> 4];
        out += kDigits[c & 0x0f];
    }
    return out;
}

std::optional<std::string> fromHex(const std::string& text)
{
    std::string out;
    int high = -1;
    for (char c : text) {
        if (c == ' ' || c == ':') {
            if (high >= 0)
                return std::nullopt; // a separator inside a byte
            continue;
        }
        const int value = hexValue(c);
        if (value < 0)
            return std::nullopt;
        if (high < 0) {
            high = value;
        } else {
            out += char(high << 4 | value);
            high = -1;
        }
    }
    if (high >= 0)
        return std::nullopt;
    return out;
}

std::optional<std::string> unescape(const std::string& text, std::string& error)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) {
            error = "a backslash ends the text";
            return std::nullopt;
        }
        switch (text[i]) {
        case '\\':
            out += '\\';
            break;
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case '0':
            out += '\0';
            break;
        case '"':
            out += '"';
            break;
        case '\'':
            out += '\'';
            break;
        case 'x': {
            const int high = i + 1 < text.size() ? hexValue(text[i + 1]) : -1;
            const int low = i + 2 < text.size() ? hexValue(text[i + 2]) : -1;
            if (high < 0 || low < 0) {
                error = "\\x needs two hex digits";
                return std::nullopt;
            }
            out += char(high << 4 | low);
            i += 2;
            break;
        }
        default:
            error = std::string("unknown escape \\") + text[i];
            return std::nullopt;
        }
    }
    return out;
}

std::string escapeToken(const std::string& bytes)
{
    std::string out;
    for (unsigned char c : bytes) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c <= 0x20 || c >= 0x7f) {
            out += "\\x";
            out += kDigits[c >> 4];
            out += kDigits[c & 0x0f];
        } else {
            out += char(c);
        }
    }
    return out;
}

std::optional<uint32_t> parseNumber(const std::string& text, uint32_t max)
{
    size_t i = 0;
    unsigned base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        i = 2;
    }
    if (i == text.size())
        return std::nullopt;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = hexValue(text[i]);
        if (digit < 0 || unsigned(digit) >= base)
            return std::nullopt;
        value = value * base + unsigned(digit);
        if (value > max)
            return std::nullopt;
    }
    return uint32_t(value);
}

std::optional<int64_t> parseSeconds(const std::string& text, int64_t maxSeconds)
{
    const size_t dot = text.find('.');
    const std::string whole = text.substr(0, dot);
    const std::string fraction = dot == std::string::npos ? "" : text.substr(dot + 1);
    if (whole.empty() || fraction.size() > 3 || (dot != std::string::npos && fraction.empty()))
        return std::nullopt;
    int64_t ms = 0;
    for (char c : whole) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        ms = ms * 10 + (c - '0');
        if (ms > maxSeconds)
            return std::nullopt;
    }
    ms *= 1000;
    int64_t scale = 100;
    for (char c : fraction) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        ms += (c - '0') * scale;
        scale /= 10;
    }
    if (ms > maxSeconds * 1000)
        return std::nullopt;
    return ms;
}

} // namespace codec
