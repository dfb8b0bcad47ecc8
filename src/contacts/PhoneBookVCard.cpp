#include "contacts/PhoneBookVCard.h"

#include "platform/Cp1252.h"

namespace {

constexpr size_t kFoldAtBytes = 75;

// A text value of vCard 3.0, in UTF-8, with its separators escaped.
std::string escaped(const std::string& cp1252Bytes)
{
    const std::string utf8 = cp1252::toQString(cp1252Bytes).toStdString();
    std::string text;
    for (const char c : utf8) {
        if (c == '\\' || c == ';' || c == ',')
            text.push_back('\\');
        if (c == '\n') {
            text += "\\n";
            continue;
        }
        text.push_back(c);
    }
    return text;
}

bool isUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Appends a content line folded at 75 bytes (a blank begins each following
// piece), never inside a UTF-8 character.
void appendLine(std::string& out, const std::string& line)
{
    size_t start = 0;
    size_t room = kFoldAtBytes;
    while (line.size() - start > room) {
        size_t end = start + room;
        while (end > start + 1 && isUtf8Continuation(line[end]))
            --end;
        out.append(line, start, end - start);
        out += "\r\n ";
        start = end;
        room = kFoldAtBytes - 1;
    }
    out.append(line, start, std::string::npos);
    out += "\r\n";
}

} // namespace

std::string phoneBookToVCard(const std::vector<PhoneBookEntry>& entries)
{
    std::string out;
    for (const PhoneBookEntry& entry : entries) {
        std::string fullName = entry.firstName;
        if (!fullName.empty() && !entry.surname.empty())
            fullName += ' ';
        fullName += entry.surname;
        // FN may not be empty in 3.0.
        if (fullName.empty())
            fullName = entry.number;
        appendLine(out, "BEGIN:VCARD");
        appendLine(out, "VERSION:3.0");
        appendLine(out, "N:" + escaped(entry.surname) + ";" + escaped(entry.firstName) + ";;;");
        appendLine(out, "FN:" + escaped(fullName));
        if (!entry.number.empty())
            appendLine(out, "TEL;TYPE=VOICE:" + escaped(entry.number));
        appendLine(out, "END:VCARD");
    }
    return out;
}
