#pragma once

#include "contacts/Contact.h"

class ContactFileStream;

// Reads the phone book that home routers export as XML:
// phonebooks/phonebook/contact, each with person/realName (the name written
// whole) and telephony/number (one element a number). Other elements are
// passed over. XML that is not well-formed, whose root is not "phonebooks",
// or that has a DTD (no router writes one; it could name outside files or
// expand entities without end) gives a message and no contacts.
ContactList readRouterPhoneBook(ContactFileStream& stream);
