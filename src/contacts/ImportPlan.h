#pragma once

#include "contacts/Contact.h"
#include "phonebook/PhoneBook.h"

#include <QString>
#include <vector>

class PhoneNumbers;
struct ImportProgress;

// What an import would do to the phone book, worked out before anything is
// saved, so that the user can see it first.
struct ImportPlan
{
    // The entries to add, in the order read: names and the number as the
    // line delivers it, code page 1252, cut to kMaxPhoneBookField.
    std::vector<PhoneBookEntry> added;
    int alreadyThere = 0;  // numbers the book had (as the line matches them)
    int withoutNumber = 0; // contacts without any number
    int unstorable = 0;    // numbers whose name code page 1252 cannot hold
};

// Each number of a contact becomes one entry. A number that the book (or an
// entry added before it in this import) already has, by the look-up rule of
// NumberIndex, is skipped and counted. A name that code page 1252 cannot
// hold is neither changed nor stored: its numbers are skipped and counted.
// A contact without any name is named by its number; an empty surname
// stays empty. `existing` is the book in file order. With `progress`, the
// contacts planned are counted there, and a cancel ends the plan early.
ImportPlan planImport(const std::vector<PhoneBookEntry>& existing,
                      const std::vector<Contact>& contacts, const PhoneNumbers& numbers,
                      ImportProgress* progress = nullptr);

// "123 nye oppføringer, 4 fantes fra før, 2 uten nummer, 1 med tegn som
// ikke kan lagres"; a part whose count is 0 is left out, but for the first.
QString importSummary(const ImportPlan& plan);
