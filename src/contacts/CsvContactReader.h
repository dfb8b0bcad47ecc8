#pragma once

#include "contacts/Contact.h"

class ContactFileStream;

// Reads contacts from CSV with a header row, separated by commas,
// semicolons or tabs, in UTF-8 (with or without a byte order mark) or code
// page 1252. The header is read by the column names of the common address
// book exports (Google Contacts, Outlook, Thunderbird, Apple; English and
// Norwegian): surname, first and middle name, full name, organisation, and
// every column of telephone numbers. A header without a name column and a
// number column gives a message and no contacts.
ContactList readCsvContacts(ContactFileStream& stream);
