#include "phonebook/PhoneBook.h"
#include "phonebook/PhoneBookFile.h"
#include "platform/SoundFiles.h"

PhoneBookIndex PhoneBookIndex::read(const QString& dataDir)
{
    PhoneBookIndex index;
    std::vector<std::string> lines;
    index.m_state = phonebookfile::readLines(dataDir, &lines);
    index.m_byNumber.reserve(lines.size() / phonebookfile::kLinesPerEntry);
    for (size_t first = 0; first + phonebookfile::kLinesPerEntry <= lines.size();
         first += phonebookfile::kLinesPerEntry) {
        const std::string& number = lines[first + 2];
        // The first entry with a number wins, as in a look-up in file order.
        if (index.m_byNumber.find(number) == index.m_byNumber.end())
            index.m_byNumber.emplace(number, phonebookfile::entryAt(lines, first));
        index.m_foldedNumbers.insert(soundfiles::foldedFileName(number));
    }
    return index;
}

const PhoneBookEntry* PhoneBookIndex::find(std::string_view number) const
{
    const auto it = m_byNumber.find(std::string(number));
    return it == m_byNumber.end() ? nullptr : &it->second;
}

bool PhoneBookIndex::containsIgnoringCase(std::string_view number) const
{
    return m_foldedNumbers.count(soundfiles::foldedFileName(number)) != 0;
}
