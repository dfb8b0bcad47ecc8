#pragma once

#include <QString>

struct Contact;

// Fills the contact's name from a name written whole, as a vCard's FN or a
// router's realName: "Kari Nordmann" and "Kari Anne Nordmann" give the
// surname "Nordmann" (the last word), "Nordmann, Kari" the same as its
// first; a single word is a surname.
void setNameFromFullName(Contact& contact, const QString& fullName);

// Fills the contact's name by the order of preference of the address books:
// surname and first name when either is there, else the full name, else the
// organisation as the surname.
void setName(Contact& contact, const QString& surname, const QString& firstName,
             const QString& fullName, const QString& organisation);
