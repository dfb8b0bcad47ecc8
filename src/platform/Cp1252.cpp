#include "platform/Cp1252.h"

#include <array>

namespace cp1252 {

namespace {

// The characters of the bytes 0x80 to 0x9F, where code page 1252 differs from
// Latin-1. The five bytes the code page leaves undefined keep the C1 control
// of the same value, so that no byte is lost on the way through a QString.
// Bytes below 0x80 are ASCII and bytes from 0xA0 up are Latin-1.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

char16_t charForByte(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return kHigh[byte - 0x80];
    return char16_t(byte);
}

// The byte of a character, or -1 when the code page has none.
int byteForChar(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return int(c);
    for (size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == c)
            return int(0x80 + i);
    }
    return -1;
}

} // namespace

QString toQString(std::string_view bytes)
{
    QString text(qsizetype(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (size_t i = 0; i < bytes.size(); ++i)
        out[i] = QChar(charForByte(static_cast<unsigned char>(bytes[i])));
    return text;
}

std::string fromQString(const QString& text, bool* ok)
{
    std::string bytes;
    bytes.reserve(size_t(text.size()));
    bool allEncoded = true;
    // Walk by code point, so that a character outside the Basic Multilingual
    // Plane (two UTF-16 units) becomes one '?' and not two.
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        const int byte = byteForChar(c);
        if (byte < 0) {
            allEncoded = false;
            bytes.push_back('?');
        } else {
            bytes.push_back(static_cast<char>(byte));
        }
    }
    if (ok)
        *ok = allEncoded;
    return bytes;
}

bool canEncode(const QString& text)
{
    bool ok = false;
    fromQString(text, &ok);
    return ok;
}

} // namespace cp1252
