#pragma once

#include "phonebook/PhoneBook.h"

#include <ostream>

// Lets GoogleTest show an entry's fields when an expectation fails.
inline void PrintTo(const PhoneBookEntry& e, std::ostream* os)
{
    *os << "{" << e.surname << "|" << e.firstName << "|" << e.number << "}";
}
