#include "phonebook/PhoneBook.h"
#include "phonebook/PhoneBookFile.h"
#include "platform/SoundFiles.h"

#include <QFile>
#include <unordered_set>

std::string PersonalSoundFileName(std::string_view number)
{
    std::string name(number);
    name += kSoundSuffix;
    return name;
}

bool PersonalSoundExists(const QString& dataDir, std::string_view number)
{
    return soundfiles::findExisting(dataDir, PersonalSoundFileName(number)).has_value();
}

int PurgeOrphanSounds(const QString& dataDir, std::string_view introFile,
                      std::string_view outroFile)
{
    // A phone book that is there but cannot be read owns sounds nobody can
    // name now; deleting them would lose recordings the file still lists.
    std::vector<std::string> lines;
    if (phonebookfile::readLines(dataDir, &lines) == PhoneBookFileState::Unreadable)
        return -1;
    // The numbers of the complete entries, as sound file names compare.
    std::unordered_set<std::string> owned;
    for (size_t first = 0; first + phonebookfile::kLinesPerEntry <= lines.size();
         first += phonebookfile::kLinesPerEntry)
        owned.insert(soundfiles::foldedFileName(lines[first + 2]));

    int deleted = 0;
    for (const soundfiles::SoundFile& file : soundfiles::listFiles(dataDir, kSoundSuffix)) {
        if (soundfiles::sameFileName(file.name, introFile) ||
            soundfiles::sameFileName(file.name, outroFile))
            continue;
        const std::string_view number =
            std::string_view(file.name).substr(0, file.name.size() - kSoundSuffix.size());
        // The file is found whatever the case of its letters, so it belongs
        // to a number in any letter case too.
        if (owned.count(soundfiles::foldedFileName(number)) != 0)
            continue;
        // The file the listing found, never a name made up from the number.
        if (QFile::remove(file.path))
            ++deleted;
    }
    return deleted;
}
