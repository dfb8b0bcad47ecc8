#include "contacts/CsvContactReader.h"

#include "contacts/ContactFileMessages.h"
#include "contacts/ContactFileStream.h"
#include "contacts/CsvRecords.h"
#include "contacts/PersonName.h"
#include "contacts/TextDecoding.h"
#include "platform/Cp1252.h"

#include <QStringDecoder>
#include <array>
#include <optional>

namespace {

// A record's line: far longer than any address book writes.
constexpr size_t kMaxCsvLineBytes = 1024 * 1024;

enum class Column
{
    Other,
    Surname,
    FirstName,
    MiddleName,
    FullName,
    Organisation,
    Number
};

// Exact names of the name columns, lower case.
struct NamedColumn
{
    const char* name;
    Column column;
};

const std::array<NamedColumn, 25> kNameColumns = {{
    {"last name", Column::Surname},
    {"lastname", Column::Surname},
    {"surname", Column::Surname},
    {"family name", Column::Surname},
    {"etternavn", Column::Surname},
    {"first name", Column::FirstName},
    {"firstname", Column::FirstName},
    {"given name", Column::FirstName},
    {"fornavn", Column::FirstName},
    {"middle name", Column::MiddleName},
    {"additional name", Column::MiddleName},
    {"mellomnavn", Column::MiddleName},
    {"name", Column::FullName},
    {"full name", Column::FullName},
    {"display name", Column::FullName},
    {"navn", Column::FullName},
    {"fullt navn", Column::FullName},
    {"visningsnavn", Column::FullName},
    {"company", Column::Organisation},
    {"organization", Column::Organisation},
    {"organisation", Column::Organisation},
    {"organization name", Column::Organisation},
    {"organization 1 - name", Column::Organisation},
    {"firma", Column::Organisation},
    {"organisasjon", Column::Organisation},
}};

// Parts of the names of number columns: "Mobile Phone", "Home Phone 2",
// "Phone 1 - Value", "Fax Number", "Telefon (arbeid)", "Mobiltelefon",
// "Faks (privat)", "Personsøker".
const std::array<const char*, 9> kNumberWords = {"phone", "mobile", "fax",  "pager",      "telefon",
                                                 "mobil", "tlf",    "faks", "personsøker"};

// Columns beside a number that say what kind it is: "Phone 1 - Type".
const std::array<const char*, 3> kNumberKindWords = {"type", "label", "etikett"};

bool containsAny(const QString& name, const char* const* begin, const char* const* end)
{
    for (const char* const* word = begin; word != end; ++word) {
        if (name.contains(QString::fromUtf8(*word)))
            return true;
    }
    return false;
}

Column columnOf(const QString& header)
{
    const QString name = header.simplified().toLower();
    for (const NamedColumn& named : kNameColumns) {
        if (name == QLatin1String(named.name))
            return named.column;
    }
    if (containsAny(name, kNumberWords.begin(), kNumberWords.end()) &&
        !containsAny(name, kNumberKindWords.begin(), kNumberKindWords.end()))
        return Column::Number;
    return Column::Other;
}

QString fieldAt(const QStringList& record, qsizetype index)
{
    return index < record.size() ? record[index].trimmed() : QString();
}

// Google Contacts puts several numbers of one kind into one field.
QStringList numbersIn(const QString& field)
{
    QStringList numbers;
    for (const QString& number : field.split(QStringLiteral(":::"))) {
        if (!number.trimmed().isEmpty())
            numbers.append(number.trimmed());
    }
    return numbers;
}

std::optional<Contact> contactOf(const QStringList& record, const std::vector<Column>& columns)
{
    QString surname, firstName, middleName, fullName, organisation;
    Contact contact;
    bool anything = false;
    for (size_t i = 0; i < columns.size(); ++i) {
        const QString field = fieldAt(record, qsizetype(i));
        anything = anything || !field.isEmpty();
        switch (columns[i]) {
        case Column::Surname:
            surname = field;
            break;
        case Column::FirstName:
            firstName = field;
            break;
        case Column::MiddleName:
            middleName = field;
            break;
        case Column::FullName:
            fullName = field;
            break;
        case Column::Organisation:
            organisation = field;
            break;
        case Column::Number:
            contact.numbers.append(numbersIn(field));
            break;
        case Column::Other:
            break;
        }
    }
    if (!anything)
        return std::nullopt;
    setName(contact, surname, firstName + QLatin1Char(' ') + middleName, fullName, organisation);
    return contact;
}

// The contacts of CSV text read a line at a time: the header first, then
// one contact a record.
class CsvContacts
{
public:
    CsvContacts(QChar separator, bool cp1252) : m_parser(separator), m_cp1252(cp1252) {}

    // False when a line is not UTF-8 and the text is read as UTF-8.
    bool read(ContactFileStream& stream)
    {
        std::string line;
        std::vector<QStringList> records;
        while (m_error.isEmpty() && stream.nextLine(&line, kMaxCsvLineBytes)) {
            QString text;
            if (m_cp1252) {
                text = cp1252::toQString(line);
            } else {
                QStringDecoder utf8(QStringDecoder::Utf8);
                text = utf8(QByteArrayView(line.data(), qsizetype(line.size())));
                if (utf8.hasError())
                    return false;
            }
            text += QLatin1Char('\n');
            m_parser.feed(text, &records);
            take(records);
        }
        if (!m_parser.finish(&records) && m_error.isEmpty())
            m_error = contactfile::openQuoteMessage();
        take(records);
        if (m_error.isEmpty() && !m_header)
            m_error = contactfile::noCsvHeaderMessage();
        return true;
    }

    ContactList result()
    {
        if (!m_error.isEmpty())
            return {{}, m_error};
        return std::move(m_result);
    }

private:
    void take(std::vector<QStringList>& records)
    {
        for (const QStringList& record : records) {
            if (!m_error.isEmpty())
                break;
            if (!m_header) {
                readHeader(record);
            } else if (std::optional<Contact> contact = contactOf(record, m_columns)) {
                m_result.contacts.push_back(std::move(*contact));
            }
        }
        records.clear();
    }

    void readHeader(const QStringList& header)
    {
        m_header = true;
        bool hasName = false;
        bool hasNumber = false;
        for (const QString& name : header) {
            m_columns.push_back(columnOf(name));
            hasNumber = hasNumber || m_columns.back() == Column::Number;
            hasName = hasName ||
                      (m_columns.back() != Column::Number && m_columns.back() != Column::Other);
        }
        if (!hasName || !hasNumber)
            m_error = contactfile::noCsvHeaderMessage();
    }

    CsvParser m_parser;
    bool m_cp1252;
    bool m_header = false;
    std::vector<Column> m_columns;
    QString m_error;
    ContactList m_result;
};

} // namespace

ContactList readCsvContacts(ContactFileStream& stream)
{
    const QChar found = csvSeparator(textdecoding::decodeGuessing(stream.head()));
    const QChar separator = found.isNull() ? QLatin1Char(',') : found;
    // UTF-8 unless a line is not: then the file is read again as code page
    // 1252, which any bytes are.
    CsvContacts csv(separator, false);
    if (csv.read(stream))
        return csv.result();
    if (!stream.rewind())
        return {{}, contactfile::cannotReadMessage()};
    CsvContacts windows(separator, true);
    windows.read(stream);
    return windows.result();
}
