#include "contacts/ContactFileReader.h"

#include "contacts/ContactFileMessages.h"
#include "contacts/ContactFileStream.h"
#include "contacts/CsvContactReader.h"
#include "contacts/RouterPhoneBookReader.h"
#include "contacts/VCardReader.h"

#include <algorithm>

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    return std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
        return (a >= 'a' && a <= 'z' ? char(a - 32) : a) ==
               (b >= 'a' && b <= 'z' ? char(b - 32) : b);
    });
}

std::string_view withoutLeadingBlanks(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// Text files hold few control characters; images, archives and programs
// hold many.
bool looksBinary(std::string_view head)
{
    head = head.substr(0, 4096);
    const auto controls = std::count_if(head.begin(), head.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f';
    });
    return size_t(controls) * 100 > head.size();
}

bool firstLineHasSeparator(std::string_view text)
{
    const std::string_view line = text.substr(0, text.find('\n'));
    return line.find_first_of(",;\t") != std::string_view::npos;
}

ContactList readByFormat(ContactFileStream& stream)
{
    if (looksBinary(stream.head()))
        return {{}, contactfile::unknownFormatMessage()};
    const std::string_view text = withoutLeadingBlanks(stream.head());
    if (startsWithNoCase(text, "BEGIN:VCARD"))
        return readVCards(stream);
    if (startsWith(text, "<"))
        return readRouterPhoneBook(stream);
    if (firstLineHasSeparator(text))
        return readCsvContacts(stream);
    return {{}, contactfile::unknownFormatMessage()};
}

} // namespace

ContactList readContactFile(const QString& path, ImportProgress* progress)
{
    ContactFileStream stream(progress);
    const QString error = stream.open(path);
    if (!error.isEmpty())
        return {{}, error};
    ContactList read = readByFormat(stream);
    if (stream.stopped()) {
        ContactList cancelled;
        cancelled.cancelled = true;
        return cancelled;
    }
    if (read.error.isEmpty() && stream.notText())
        return {{}, contactfile::unknownFormatMessage()};
    if (read.error.isEmpty() && stream.failed())
        return {{}, contactfile::cannotReadMessage()};
    return read;
}
