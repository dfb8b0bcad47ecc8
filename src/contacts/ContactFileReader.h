#pragma once

#include "contacts/Contact.h"

#include <QString>

struct ImportProgress;

// The largest contact file read: a phone's export of thousands of contacts
// with their photos stays well below it. Files are read as a stream, so the
// limit is no question of memory; it only keeps a wrong file (a disk image)
// from being read to its end.
constexpr qint64 kMaxContactFileBytes = qint64(256) * 1024 * 1024;

// Reads the contacts of a vCard file, a router's XML phone book or a CSV
// file, whichever the content is (the file's name is not asked). A file
// that is missing, unreadable, no regular file, larger than
// kMaxContactFileBytes, empty, binary or of none of these formats gives a
// message and no contacts, as does a broken file of a known format. With
// `progress`, the bytes read are counted there, and a cancel stops the
// reading with no contacts and `cancelled` set.
ContactList readContactFile(const QString& path, ImportProgress* progress = nullptr);
