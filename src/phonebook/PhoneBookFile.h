#pragma once

#include "phonebook/PhoneBook.h"
#include "platform/SafeFile.h"

#include <QString>
#include <string>
#include <vector>

// How "PhoneBk.dat" is read, shared by the loader, the look-up and the index.
namespace phonebookfile {

// Every line is read through a buffer of this many bytes.
constexpr size_t kLineBuffer = 255;
// Surname, first name, number.
constexpr size_t kLinesPerEntry = 3;

QString path(const QString& dataDir);

// The lines of the file as they are read, or the reason there are none.
PhoneBookFileState readLines(const QString& dataDir, std::vector<std::string>* lines);
// The same for the file's bytes, read as `state` says.
PhoneBookFileState linesOf(FileReadState state, const std::string& bytes,
                           std::vector<std::string>* lines);

// The entry whose surname is lines[first], cut to the field length, with
// the fields that the file does not have left empty.
PhoneBookEntry entryAt(const std::vector<std::string>& lines, size_t first);

} // namespace phonebookfile
