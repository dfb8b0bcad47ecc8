#pragma once

#include "phonebook/PhoneBook.h"

#include <string>
#include <vector>

// The phone book as vCard 3.0 text, for a phone or an address book: one
// card an entry in the book's order (entries of one person stay separate
// cards, so that an import gives the same entries back), with N, FN and
// the number as TEL. UTF-8, CR LF, values escaped, lines folded at 75
// bytes. The caller writes the file.
std::string phoneBookToVCard(const std::vector<PhoneBookEntry>& entries);
