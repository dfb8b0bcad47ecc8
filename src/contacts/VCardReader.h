#pragma once

#include "contacts/Contact.h"

class ContactFileStream;

// Reads vCards 2.1, 3.0 and 4.0, one or many to a file, as phones and
// address books export them: folded lines, quoted-printable values and
// CHARSET parameters (2.1), escaped separators (3.0, 4.0), "tel:" values
// (4.0). N gives the surname and the first name (given and additional
// names), FN the name when N has none, ORG when neither has; every TEL is a
// number. Photos, logos, sounds, keys and any other property too large to
// be a name or a number are passed over as they are read. A card without its
// END:VCARD makes the whole file an error: the file was cut short, and what
// it held is not known.
ContactList readVCards(ContactFileStream& stream);
