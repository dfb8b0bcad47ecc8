#pragma once

#include "contacts/Contact.h"

#include <QByteArray>

// Reads the phone book that home routers export as XML:
// phonebooks/phonebook/contact, each with person/realName (the name written
// whole) and telephony/number (one element a number). Other elements are
// passed over. XML that is not well-formed, or whose root is not
// "phonebooks", gives a message and no contacts.
ContactList readRouterPhoneBook(const QByteArray& bytes);
