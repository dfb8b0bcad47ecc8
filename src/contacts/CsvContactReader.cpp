#include "contacts/CsvContactReader.h"

#include "contacts/ContactFileMessages.h"
#include "contacts/CsvRecords.h"
#include "contacts/PersonName.h"
#include "contacts/TextDecoding.h"

#include <array>
#include <optional>

namespace {

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

} // namespace

ContactList readCsvContacts(std::string_view bytes)
{
    const QString text = textdecoding::decodeGuessing(bytes);
    const QChar separator = csvSeparator(text);
    const CsvRecords csv = parseCsv(text, separator.isNull() ? QLatin1Char(',') : separator);
    if (csv.openQuote)
        return {{}, contactfile::openQuoteMessage()};
    if (csv.records.empty())
        return {{}, contactfile::noCsvHeaderMessage()};

    std::vector<Column> columns;
    bool hasName = false;
    bool hasNumber = false;
    for (const QString& header : csv.records.front()) {
        columns.push_back(columnOf(header));
        hasNumber = hasNumber || columns.back() == Column::Number;
        hasName = hasName || (columns.back() != Column::Number && columns.back() != Column::Other);
    }
    if (!hasName || !hasNumber)
        return {{}, contactfile::noCsvHeaderMessage()};

    ContactList result;
    for (size_t i = 1; i < csv.records.size(); ++i) {
        if (std::optional<Contact> contact = contactOf(csv.records[i], columns))
            result.contacts.push_back(std::move(*contact));
    }
    return result;
}
