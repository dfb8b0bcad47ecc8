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

namespace {

// The digits of a number written with digits and the punctuation people put
// between them (spaces, "-", ".", brackets, a leading "+"); nothing for any
// other text.
std::optional<std::string> plainDigits(std::string_view text)
{
    std::string digits;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            digits.push_back(c);
        else if (!(c == ' ' || c == '-' || c == '.' || c == '(' || c == ')' ||
                   (c == '+' && digits.empty())))
            return std::nullopt;
    }
    return digits;
}

} // namespace

bool FindPhoneBookEntry(const QString& dataDir, const PhoneNumbers& numbers,
                        std::string_view number, PhoneBookEntry* found)
{
    std::vector<std::string> lines;
    phonebookfile::readLines(dataDir, &lines);
    // Only complete entries: a last entry without its number line never
    // matches.
    const size_t complete = lines.size() - lines.size() % phonebookfile::kLinesPerEntry;
    const auto take = [&](size_t first) {
        if (found)
            *found = phonebookfile::entryAt(lines, first);
        return true;
    };
    for (size_t first = 0; first < complete; first += phonebookfile::kLinesPerEntry) {
        if (lines[first + 2] == number)
            return take(first);
    }
    // Then as telephone numbers; only a number that can be matched so makes
    // the entries' numbers be read as numbers. Reading one costs, so an entry
    // written with digits and punctuation alone is read only when its digits
    // end with the wanted number's national digits, as they must to match.
    const std::optional<E164Number> wanted = numbers.matchable(number);
    if (!wanted)
        return false;
    const std::string_view national =
        std::string_view(wanted->text).substr(wanted->text.size() - wanted->nationalDigits);
    for (size_t first = 0; first < complete; first += phonebookfile::kLinesPerEntry) {
        const std::string& candidate = lines[first + 2];
        if (const std::optional<std::string> digits = plainDigits(candidate);
            digits &&
            (digits->size() < national.size() ||
             digits->compare(digits->size() - national.size(), national.size(), national) != 0))
            continue;
        if (numbers.e164(candidate) == wanted->text)
            return take(first);
    }
    return false;
}
