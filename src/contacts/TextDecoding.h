#pragma once

#include <QString>
#include <string_view>

// Contact files rarely say how their text is encoded: phones and newer
// programs write UTF-8, older Windows programs code page 1252.
namespace textdecoding {

// True when the bytes are valid UTF-8 (a byte order mark included).
bool isUtf8(std::string_view bytes);

// UTF-8 when the bytes are valid UTF-8 (a byte order mark is dropped), else
// code page 1252.
QString decodeGuessing(std::string_view bytes);

// Bytes in the named character set ("UTF-8", "ISO-8859-1",
// "windows-1252", "UTF-16"); as decodeGuessing when the name is empty or
// unknown. ISO-8859-1 is read as code page 1252, its superset, since
// Windows programs name the one and write the other.
QString decodeCharset(std::string_view bytes, const QString& charset);

} // namespace textdecoding
