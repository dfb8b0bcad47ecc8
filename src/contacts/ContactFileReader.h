#pragma once

#include "contacts/Contact.h"

#include <QString>
#include <string_view>

// The largest contact file read: far more than any address book exports,
// and little enough to read whole.
constexpr qint64 kMaxContactFileBytes = 10 * 1024 * 1024;

// Reads the contacts of a vCard file, a router's XML phone book or a CSV
// file, whichever the content is (the file's name is not asked). A file
// that is missing, unreadable, no regular file, larger than
// kMaxContactFileBytes, empty, binary or of none of these formats gives a
// message and no contacts, as does a broken file of a known format.
ContactList readContactFile(const QString& path);

// The same for bytes already read.
ContactList readContacts(std::string_view bytes);
