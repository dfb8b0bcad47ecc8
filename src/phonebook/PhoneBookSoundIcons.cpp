#include "phonebook/PhoneBookSoundIcons.h"

#include "phonebook/PhoneBook.h"
#include "platform/SoundFiles.h"

#include <string>
#include <string_view>
#include <unordered_set>

void RefreshSoundIcons(PhoneBookList& list, const QString& dataDir)
{
    // Only names that the sound-path rule accepts are listed, so a number
    // that could not name a file inside "sound/" never finds one.
    std::unordered_set<std::string> present;
    for (const soundfiles::SoundFile& file : soundfiles::listFiles(dataDir, kSoundSuffix))
        present.insert(soundfiles::foldedFileName(file.name));

    for (int row = 0; row < list.size(); ++row) {
        const std::string name = PersonalSoundFileName(list.at(row).number);
        list.setIcon(row, present.count(soundfiles::foldedFileName(name)) != 0 ? 1 : 0);
    }
}
