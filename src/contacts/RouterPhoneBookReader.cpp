#include "contacts/RouterPhoneBookReader.h"

#include "contacts/ContactFileMessages.h"
#include "contacts/ContactFileStream.h"
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

void readPhoneBook(QXmlStreamReader& xml, ContactFileStream& stream, ContactList& result)
{
    while (!stream.stopped() && xml.readNextStartElement()) {
        stream.reportPosition();
        if (xml.name() == QLatin1String("contact"))
            result.contacts.push_back(readContact(xml));
        else
            xml.skipCurrentElement();
    }
}

// Reads up to the root element. False when a DTD comes first: it is
// refused before any of its entities is used.
bool readToRoot(QXmlStreamReader& xml)
{
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::DTD:
            return false;
        case QXmlStreamReader::StartElement:
            return true;
        default:
            break;
        }
    }
    return true;
}

} // namespace

ContactList readRouterPhoneBook(ContactFileStream& stream)
{
    QXmlStreamReader xml(&stream.device());
    ContactList result;
    if (!readToRoot(xml))
        return {{}, contactfile::dtdMessage()};
    if (xml.isStartElement()) {
        if (xml.name() != QLatin1String("phonebooks"))
            return {{}, contactfile::unknownFormatMessage()};
        while (!stream.stopped() && xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("phonebook"))
                readPhoneBook(xml, stream, result);
            else
                xml.skipCurrentElement();
        }
    }
    // Reading on to the end finds faults after the last contact as well.
    while (!stream.stopped() && !xml.atEnd())
        xml.readNext();
    if (xml.hasError())
        return {{}, contactfile::badXmlMessage(xml.lineNumber())};
    return result;
}
