#include "contacts/PersonName.h"

#include "contacts/Contact.h"

void setNameFromFullName(Contact& contact, const QString& fullName)
{
    const QString name = fullName.simplified();
    const qsizetype comma = name.indexOf(QLatin1Char(','));
    if (comma > 0) {
        contact.surname = name.left(comma).trimmed();
        contact.firstName = name.mid(comma + 1).trimmed();
        return;
    }
    const qsizetype lastSpace = name.lastIndexOf(QLatin1Char(' '));
    contact.surname = lastSpace < 0 ? name : name.mid(lastSpace + 1);
    contact.firstName = lastSpace < 0 ? QString() : name.left(lastSpace);
}

void setName(Contact& contact, const QString& surname, const QString& firstName,
             const QString& fullName, const QString& organisation)
{
    if (!surname.trimmed().isEmpty() || !firstName.trimmed().isEmpty()) {
        contact.surname = surname.simplified();
        contact.firstName = firstName.simplified();
    } else if (!fullName.trimmed().isEmpty()) {
        setNameFromFullName(contact, fullName);
    } else {
        contact.surname = organisation.simplified();
        contact.firstName.clear();
    }
}
