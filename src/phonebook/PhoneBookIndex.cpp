#include "phonebook/PhoneBook.h"
#include "phonebook/PhoneBookFile.h"

PhoneBookIndex PhoneBookIndex::read(const QString& dataDir, const PhoneNumbers& numbers)
{
    std::string bytes;
    const FileReadState state = readWholeFile(phonebookfile::path(dataDir), &bytes);
    return fromBytes(state, bytes, numbers);
}

FileReadState PhoneBookIndex::fileState() const
{
    switch (m_state) {
    case PhoneBookFileState::Read:
        return FileReadState::Read;
    case PhoneBookFileState::Missing:
        return FileReadState::Missing;
    default:
        return FileReadState::Unreadable;
    }
}

PhoneBookIndex PhoneBookIndex::fromBytes(FileReadState state, const std::string& bytes,
                                         const PhoneNumbers& numbers)
{
    PhoneBookIndex index(numbers);
    std::vector<std::string> lines;
    index.m_state = phonebookfile::linesOf(state, bytes, &lines);
    index.m_entries.reserve(lines.size() / phonebookfile::kLinesPerEntry);
    // Only complete entries: a last entry without its number line never
    // matches.
    for (size_t first = 0; first + phonebookfile::kLinesPerEntry <= lines.size();
         first += phonebookfile::kLinesPerEntry) {
        const std::string& number = lines[first + 2];
        index.m_entries.push_back(phonebookfile::entryAt(lines, first));
        index.m_byNumber.add(number);
    }
    return index;
}

const PhoneBookEntry* PhoneBookIndex::find(std::string_view number) const
{
    const std::optional<size_t> place = m_byNumber.find(number);
    return place ? &m_entries[*place] : nullptr;
}
