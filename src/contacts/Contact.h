#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// One person or organisation read from a contact file: the name as the
// phone book keeps it, and every number as the file writes it.
struct Contact
{
    QString surname;
    QString firstName;
    QStringList numbers;
};

// What reading a contact file gave: the contacts, or the message that says
// why there are none.
struct ContactList
{
    std::vector<Contact> contacts;
    QString error;          // empty when the file was read
    bool cancelled = false; // the import was cancelled while reading
};
