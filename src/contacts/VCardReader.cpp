#include "contacts/VCardReader.h"

#include "contacts/ContactFileMessages.h"
#include "contacts/ContactFileStream.h"
#include "contacts/PersonName.h"
#include "contacts/TextDecoding.h"

#include <optional>
#include <string>
#include <vector>

namespace {

// Names and numbers are short; a line or a property longer than these is a
// photo, a sound, a key or a note, which an import does not keep.
constexpr size_t kMaxLineBytes = 16 * 1024;
constexpr size_t kMaxPropertyBytes = 16 * 1024;
// A card holds a person's names and numbers; past this its further
// properties are passed over.
constexpr size_t kMaxCardBytes = 1024 * 1024;

// One content line: "item1.TEL;TYPE=CELL:+47 912 34 567".
struct Property
{
    std::string name;     // upper case, without its group
    std::string encoding; // upper case: "QUOTED-PRINTABLE", "BASE64", "B" or empty
    QString charset;
    std::string value; // the raw bytes after the colon
};

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

std::string upperCase(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = upper(c);
    return result;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// A line that is exactly this one (any case, blanks after it allowed). A
// line that starts with a blank continues the line before it, so it is
// never a BEGIN or an END.
bool isLine(std::string_view line, std::string_view wanted)
{
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    return upperCase(line) == wanted;
}

// Where the value begins: after the first colon outside double quotes (a
// 4.0 parameter value may hold a colon).
size_t valueStart(std::string_view line)
{
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            return i;
    }
    return std::string_view::npos;
}

// The content lines of one card, unfolded. A line that begins with a blank
// continues the one before: 3.0 and 4.0 drop that one blank, 2.1 keeps it.
// A quoted-printable value of 2.1 goes on after a line that ends in "=",
// whatever the next line begins with.
std::vector<std::string> contentLines(const std::vector<std::string>& lines, bool keepBlank)
{
    std::vector<std::string> result;
    bool quotedPrintable = false;
    for (const std::string_view line : lines) {
        if (!result.empty() && quotedPrintable && !result.back().empty() &&
            result.back().back() == '=') {
            result.back().pop_back();
            result.back().append(line);
            continue;
        }
        if (line.empty())
            continue;
        if (!result.empty() && (line.front() == ' ' || line.front() == '\t')) {
            result.back().append(keepBlank ? line : line.substr(1));
            continue;
        }
        result.emplace_back(line);
        const size_t colon = valueStart(line);
        quotedPrintable =
            colon != std::string_view::npos &&
            upperCase(line.substr(0, colon)).find("QUOTED-PRINTABLE") != std::string::npos;
    }
    return result;
}

std::vector<std::string_view> splitOutsideQuotes(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    bool quoted = false;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] == '"')
            quoted = !quoted;
        if (i == text.size() || (text[i] == separator && !quoted)) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

std::optional<Property> parseProperty(std::string_view line)
{
    const size_t colon = valueStart(line);
    if (colon == std::string_view::npos)
        return std::nullopt;
    const std::vector<std::string_view> head = splitOutsideQuotes(line.substr(0, colon), ';');
    Property property;
    std::string_view name = trimmed(head.front());
    const size_t dot = name.rfind('.');
    if (dot != std::string_view::npos)
        name.remove_prefix(dot + 1);
    property.name = upperCase(name);
    for (size_t i = 1; i < head.size(); ++i) {
        const std::string_view parameter = trimmed(head[i]);
        const size_t equals = parameter.find('=');
        const std::string key = equals == std::string_view::npos
                                    ? std::string()
                                    : upperCase(parameter.substr(0, equals));
        std::string_view value =
            equals == std::string_view::npos ? parameter : parameter.substr(equals + 1);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        const std::string upperValue = upperCase(value);
        // 2.1 also names the encoding bare: "TEL;QUOTED-PRINTABLE:".
        if (key == "ENCODING" ||
            (key.empty() && (upperValue == "QUOTED-PRINTABLE" || upperValue == "BASE64")))
            property.encoding = upperValue;
        else if (key == "CHARSET")
            property.charset = QString::fromLatin1(value.data(), qsizetype(value.size()));
    }
    property.value = std::string(line.substr(colon + 1));
    return property;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = upper(c);
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

std::string decodeQuotedPrintable(std::string_view text)
{
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
            hexValue(text[i + 2]) >= 0) {
            bytes.push_back(char(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
            i += 2;
        } else {
            bytes.push_back(text[i]);
        }
    }
    return bytes;
}

QString decodedValue(const Property& property)
{
    const std::string bytes = property.encoding == "QUOTED-PRINTABLE"
                                  ? decodeQuotedPrintable(property.value)
                                  : property.value;
    return textdecoding::decodeCharset(bytes, property.charset);
}

// Splits at separators that no backslash escapes; the parts keep their
// escapes.
QStringList splitUnescaped(const QString& value, QChar separator)
{
    QStringList parts;
    QString part;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == QLatin1Char('\\') && i + 1 < value.size()) {
            part += value[i];
            part += value[++i];
        } else if (value[i] == separator) {
            parts.append(part);
            part.clear();
        } else {
            part += value[i];
        }
    }
    parts.append(part);
    return parts;
}

QString unescaped(const QString& value)
{
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != QLatin1Char('\\') || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        const QChar next = value[++i];
        // A line break inside a name is no use in a one-line field.
        text += next == QLatin1Char('n') || next == QLatin1Char('N') ? QLatin1Char(' ') : next;
    }
    return text;
}

// One component of N: in 3.0 and 4.0 a list of values ("Kari,Anne").
QString nameComponent(const QStringList& components, int index, bool isList)
{
    if (index >= components.size())
        return {};
    if (!isList)
        return unescaped(components[index]);
    QStringList values;
    for (const QString& value : splitUnescaped(components[index], QLatin1Char(',')))
        values.append(unescaped(value));
    return values.join(QLatin1Char(' ')).simplified();
}

Contact readCard(const std::vector<std::string>& lines)
{
    std::string version;
    for (const std::string_view line : lines) {
        if (upperCase(line.substr(0, 8)) == "VERSION:")
            version = std::string(trimmed(line.substr(8)));
    }
    const bool is21 = version == "2.1";

    Contact contact;
    std::optional<QStringList> name;
    QString fullName;
    QString organisation;
    for (const std::string& line : contentLines(lines, is21)) {
        const std::optional<Property> property = parseProperty(line);
        if (!property || property->encoding == "BASE64" || property->encoding == "B")
            continue;
        if (property->name == "N" && !name) {
            name = splitUnescaped(decodedValue(*property), QLatin1Char(';'));
        } else if (property->name == "FN" && fullName.isEmpty()) {
            fullName = unescaped(decodedValue(*property)).simplified();
        } else if (property->name == "ORG" && organisation.isEmpty()) {
            organisation = unescaped(splitUnescaped(decodedValue(*property), QLatin1Char(';'))[0]);
        } else if (property->name == "TEL") {
            QString number = unescaped(decodedValue(*property)).trimmed();
            if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
                number = number.mid(4).section(QLatin1Char(';'), 0, 0);
            if (!number.isEmpty())
                contact.numbers.append(number);
        }
    }
    const QStringList components = name.value_or(QStringList());
    const QString given = nameComponent(components, 1, !is21) + QLatin1Char(' ') +
                          nameComponent(components, 2, !is21);
    setName(contact, nameComponent(components, 0, !is21), given, fullName, organisation);
    return contact;
}

// The lines of one card as they are read, less its photos and other large
// properties: a phone writes each contact's photo into its card, tens of
// kilobytes of base64 that no phone book entry needs, and a card stays
// small while its lines are gathered.
class CardCollector
{
public:
    void clear()
    {
        m_lines.clear();
        m_bytes = 0;
        m_skipping = false;
        m_quotedPrintable = false;
        m_softBreak = false;
    }

    // One physical line of the card; `cut` when it was longer than a line
    // is read.
    void add(std::string line, bool cut)
    {
        // A quoted-printable value of 2.1 goes on after a line that ends in
        // "=", whatever the next line begins with; other values go on in
        // lines that begin with a blank.
        const bool continues =
            m_softBreak || (!line.empty() && (line.front() == ' ' || line.front() == '\t'));
        if (!continues && !line.empty())
            startProperty(line, cut);
        m_softBreak = m_quotedPrintable && !line.empty() && line.back() == '=';
        if (m_skipping)
            return;
        m_propertyBytes += line.size();
        m_bytes += line.size();
        if (cut || m_propertyBytes > kMaxPropertyBytes) {
            // Too large to be a name or a number: the property goes whole.
            m_lines.resize(m_propertyStart);
            m_skipping = true;
            return;
        }
        m_lines.push_back(std::move(line));
    }

    const std::vector<std::string>& lines() const { return m_lines; }

private:
    void startProperty(std::string_view line, bool cut)
    {
        const size_t colon = valueStart(line);
        const std::string_view head = line.substr(0, colon);
        m_quotedPrintable = upperCase(head).find("QUOTED-PRINTABLE") != std::string::npos;
        std::string_view name = head.substr(0, head.find(';'));
        const size_t dot = name.rfind('.');
        if (dot != std::string_view::npos)
            name.remove_prefix(dot + 1);
        const std::string upperName = upperCase(trimmed(name));
        m_skipping = cut || m_bytes > kMaxCardBytes || upperName == "PHOTO" ||
                     upperName == "LOGO" || upperName == "SOUND" || upperName == "KEY";
        m_propertyStart = m_lines.size();
        m_propertyBytes = 0;
    }

    std::vector<std::string> m_lines;
    size_t m_bytes = 0;
    size_t m_propertyStart = 0;
    size_t m_propertyBytes = 0;
    bool m_skipping = false;
    bool m_quotedPrintable = false;
    bool m_softBreak = false;
};

} // namespace

ContactList readVCards(ContactFileStream& stream)
{
    ContactList result;
    CardCollector card;
    int depth = 0;
    std::string line;
    bool cut = false;
    while (stream.nextLine(&line, kMaxLineBytes, &cut)) {
        if (isLine(line, "BEGIN:VCARD")) {
            // A card inside a card (2.1's AGENT) is not a contact of its own.
            if (depth++ == 0)
                card.clear();
        } else if (depth > 0 && isLine(line, "END:VCARD")) {
            if (--depth == 0)
                result.contacts.push_back(readCard(card.lines()));
        } else if (depth == 1) {
            card.add(std::move(line), cut);
        }
    }
    if (depth > 0)
        return {{}, contactfile::truncatedCardMessage()};
    return result;
}
