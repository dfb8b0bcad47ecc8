#include "contacts/RouterPhoneBookReader.h"

#include "contacts/ContactFileMessages.h"
#include "contacts/PersonName.h"

#include <QXmlStreamReader>

namespace {

// The children of <telephony>: every <number>.
void readTelephony(QXmlStreamReader& xml, Contact& contact)
{
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("number")) {
            const QString number = xml.readElementText().trimmed();
            if (!number.isEmpty())
                contact.numbers.append(number);
        } else {
            xml.skipCurrentElement();
        }
    }
}

// The children of <person>: <realName>.
void readPerson(QXmlStreamReader& xml, QString* realName)
{
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("realName"))
            *realName = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        else
            xml.skipCurrentElement();
    }
}

Contact readContact(QXmlStreamReader& xml)
{
    Contact contact;
    QString realName;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("person"))
            readPerson(xml, &realName);
        else if (xml.name() == QLatin1String("telephony"))
            readTelephony(xml, contact);
        else
            xml.skipCurrentElement();
    }
    setNameFromFullName(contact, realName);
    return contact;
}

void readPhoneBook(QXmlStreamReader& xml, ContactList& result)
{
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("contact"))
            result.contacts.push_back(readContact(xml));
        else
            xml.skipCurrentElement();
    }
}

} // namespace

ContactList readRouterPhoneBook(const QByteArray& bytes)
{
    QXmlStreamReader xml(bytes);
    ContactList result;
    if (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("phonebooks"))
            return {{}, contactfile::unknownFormatMessage()};
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("phonebook"))
                readPhoneBook(xml, result);
            else
                xml.skipCurrentElement();
        }
    }
    // Reading on to the end finds faults after the last contact as well.
    while (!xml.atEnd())
        xml.readNext();
    if (xml.hasError())
        return {{}, contactfile::badXmlMessage(xml.lineNumber())};
    return result;
}
