#include "phonebook/PhoneBookFile.h"

#include "platform/SafeFile.h"
#include "platform/TextLines.h"

#include <QDir>
#include <optional>

namespace phonebookfile {

namespace {

std::string fieldAt(const std::vector<std::string>& lines, size_t index)
{
    if (index >= lines.size())
        return {};
    const std::string& line = lines[index];
    return line.substr(0, std::min(line.size(), kMaxPhoneBookField));
}

} // namespace

QString path(const QString& dataDir)
{
    return QDir(dataDir).filePath(QStringLiteral("PhoneBk.dat"));
}

PhoneBookFileState readLines(const QString& dataDir, std::vector<std::string>* lines)
{
    std::string bytes;
    const FileReadState state = readWholeFile(path(dataDir), &bytes);
    return linesOf(state, bytes, lines);
}

PhoneBookFileState linesOf(FileReadState state, const std::string& bytes,
                           std::vector<std::string>* lines)
{
    lines->clear();
    switch (state) {
    case FileReadState::Missing:
        return PhoneBookFileState::Missing;
    case FileReadState::Unreadable:
        return PhoneBookFileState::Unreadable;
    case FileReadState::Read:
        break;
    }
    *lines = splitTextLines(bytes, kLineBuffer);
    return PhoneBookFileState::Read;
}

PhoneBookEntry entryAt(const std::vector<std::string>& lines, size_t first)
{
    return PhoneBookEntry{fieldAt(lines, first), fieldAt(lines, first + 1),
                          fieldAt(lines, first + 2)};
}

} // namespace phonebookfile

PhoneBookFileState LoadPhoneBook(PhoneBookList& list, const QString& dataDir)
{
    std::vector<std::string> lines;
    const PhoneBookFileState state = phonebookfile::readLines(dataDir, &lines);
    // Every row at its place by surname, as the file's order has them come,
    // put there in one step: a window shows the whole book at once.
    std::vector<PhoneBookEntry> entries;
    entries.reserve(lines.size() / phonebookfile::kLinesPerEntry + 1);
    for (size_t first = 0; first < lines.size(); first += phonebookfile::kLinesPerEntry)
        entries.push_back(phonebookfile::entryAt(lines, first));
    list.insertAllSorted(std::move(entries));
    return state;
}

bool SavePhoneBook(const PhoneBookList& list, const QString& dataDir)
{
    std::string bytes;
    for (int row = 0; row < list.size(); ++row) {
        const PhoneBookEntry& entry = list.at(row);
        for (const std::string* field : {&entry.surname, &entry.firstName, &entry.number}) {
            // A line break inside a field would shift every later entry.
            if (field->find_first_of("\r\n") != std::string::npos)
                return false;
            bytes += *field;
            bytes += "\r\n";
        }
    }
    return replaceFileAtomically(phonebookfile::path(dataDir), bytes);
}
