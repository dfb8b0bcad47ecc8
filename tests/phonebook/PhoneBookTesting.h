#pragma once

#include "phonebook/PhoneBook.h"

#include <ostream>

// Numbers read as Norway reads them, for the look-ups of the tests.
inline const PhoneNumbers kNorway{QStringLiteral("NO")};

// Lets GoogleTest show an entry's fields when an expectation fails.
inline void PrintTo(const PhoneBookEntry& e, std::ostream* os)
{
    *os << "{" << e.surname << "|" << e.firstName << "|" << e.number << "}";
}
