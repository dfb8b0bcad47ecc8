#pragma once

#include <QString>

#include <string>
#include <string_view>

// The stores keep text as the bytes of code page 1252, as the files always
// held them. Text is converted to and from Qt's strings only where it is
// shown or typed. All 256 bytes have a character: the five bytes that code
// page 1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1
// controls of the same value, as Windows maps them, so every byte round-trips.
namespace cp1252 {

QString toQString(std::string_view bytes);

// Converts text to code page 1252. A character that the code page does not
// have makes ok false (when given) and is written as '?'.
std::string fromQString(const QString& text, bool* ok = nullptr);

// True when every character of the text has a byte in code page 1252.
bool canEncode(const QString& text);

} // namespace cp1252
