#include "contacts/ContactFileReader.h"

#include "contacts/ContactFileMessages.h"
#include "contacts/CsvContactReader.h"
#include "contacts/RouterPhoneBookReader.h"
#include "contacts/TextDecoding.h"
#include "contacts/VCardReader.h"
#include "platform/SafeFile.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

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

// Text files hold no NUL and few control characters; images, archives and
// programs hold many.
bool looksBinary(std::string_view bytes)
{
    if (bytes.find('\0') != std::string_view::npos)
        return true;
    const std::string_view head = bytes.substr(0, 4096);
    const auto controls = std::count_if(head.begin(), head.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f';
    });
    return size_t(controls) * 100 > head.size();
}

// Windows programs write "Unicode" text as UTF-16 with a byte order mark;
// the readers take UTF-8. False when the bytes are not UTF-16 after all.
bool utf16ToUtf8(std::string_view bytes, std::string* utf8)
{
    QStringDecoder decoder(startsWith(bytes, "\xFF\xFE") ? QStringDecoder::Utf16LE
                                                         : QStringDecoder::Utf16BE);
    const QString text = decoder(QByteArrayView(bytes.data() + 2, qsizetype(bytes.size()) - 2));
    if (decoder.hasError())
        return false;
    *utf8 = text.toStdString();
    return true;
}

bool firstLineHasSeparator(std::string_view text)
{
    const std::string_view line = text.substr(0, text.find('\n'));
    return line.find_first_of(",;\t") != std::string_view::npos;
}

} // namespace

ContactList readContactFile(const QString& path)
{
    // The size first: a file of gigabytes is not read in to be refused.
    const QFileInfo info(path);
    if (info.exists() && info.isFile() && info.size() > kMaxContactFileBytes)
        return {{}, contactfile::tooLargeMessage()};
    std::string bytes;
    switch (readWholeFile(path, &bytes)) {
    case FileReadState::Missing:
        return {{}, contactfile::missingMessage()};
    case FileReadState::Unreadable:
        return {{}, contactfile::cannotReadMessage()};
    case FileReadState::Read:
        break;
    }
    // It may have grown since.
    if (qint64(bytes.size()) > kMaxContactFileBytes)
        return {{}, contactfile::tooLargeMessage()};
    return readContacts(bytes);
}

ContactList readContacts(std::string_view bytes)
{
    std::string transcoded;
    if (startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF")) {
        if (!utf16ToUtf8(bytes, &transcoded))
            return {{}, contactfile::unknownFormatMessage()};
        bytes = transcoded;
    }
    if (withoutLeadingBlanks(bytes).empty())
        return {{}, contactfile::emptyMessage()};
    if (looksBinary(bytes))
        return {{}, contactfile::unknownFormatMessage()};

    const std::string_view text =
        withoutLeadingBlanks(startsWith(bytes, kUtf8Bom) ? bytes.substr(kUtf8Bom.size()) : bytes);
    if (startsWithNoCase(text, "BEGIN:VCARD"))
        return readVCards(text);
    if (startsWith(text, "<"))
        return readRouterPhoneBook(QByteArray(text.data(), qsizetype(text.size())));
    if (firstLineHasSeparator(text))
        return readCsvContacts(bytes);
    return {{}, contactfile::unknownFormatMessage()};
}
