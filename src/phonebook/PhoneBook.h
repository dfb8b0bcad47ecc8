#pragma once

#include "numbers/NumberIndex.h"
#include "numbers/PhoneNumbers.h"
#include "platform/SafeFile.h"

#include <QString>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class ListObserver;

// One person of the phone book. Text is code page 1252 bytes, at most
// kMaxFieldLength bytes a field.
struct PhoneBookEntry
{
    std::string surname;
    std::string firstName;
    std::string number;
};

bool operator==(const PhoneBookEntry& a, const PhoneBookEntry& b);

constexpr size_t kMaxPhoneBookField = 99;

// Orders two surnames the way a Norwegian reader expects: letters without
// regard to case, and Æ, Ø, Å after Z (in that order). <0, 0 or >0.
int compareSurnames(std::string_view a, std::string_view b);

// The phone book in memory, kept in surname order; each row carries the
// index of its sound icon (0: no personal sound, 1: a personal sound).
class PhoneBookList
{
public:
    int size() const { return int(m_rows.size()); }
    const PhoneBookEntry& at(int row) const { return m_rows[size_t(row)].entry; }
    int icon(int row) const { return m_rows[size_t(row)].icon; }

    // Puts the entry at its place by surname, after the rows with an equal
    // surname, and returns that place. Fields are cut to kMaxPhoneBookField.
    int insertSorted(PhoneBookEntry entry);
    // Puts many entries at their places as insertSorted would, one after
    // another, in one step: appended, sorted once, and shown with one reset
    // of the observer.
    void insertAllSorted(std::vector<PhoneBookEntry> entries);
    // Sets the first name or number of a row (its place does not change).
    void setIcon(int row, int icon);
    void removeAt(int row);
    void clear();

    void setObserver(ListObserver* observer) { m_observer = observer; }

private:
    struct Row
    {
        PhoneBookEntry entry;
        int icon = 0;
    };
    std::vector<Row> m_rows;
    ListObserver* m_observer = nullptr;
};

// What became of reading "PhoneBk.dat".
enum class PhoneBookFileState
{
    Read,
    Missing,
    Unreadable
};

// Adds the entries of "<dataDir>/PhoneBk.dat" to the list.
PhoneBookFileState LoadPhoneBook(PhoneBookList& list, const QString& dataDir);

// Writes the list to "<dataDir>/PhoneBk.dat", replacing the file whole.
// False, with the old file intact, when it could not be written or a field
// holds a line break.
bool SavePhoneBook(const PhoneBookList& list, const QString& dataDir);

// The phone book file read once, and every look-up of a number in it: the
// first entry in file order whose number equals it byte for byte; when none
// does, the first whose number is the same telephone number in another form,
// read as a number of the home country of `numbers` ("22 12 34 56" for
// "+4722123456"). The call log keeps one that follows the file
// (CallLog::phoneBook).
class PhoneBookIndex
{
public:
    static PhoneBookIndex read(const QString& dataDir, const PhoneNumbers& numbers);
    // The same from the bytes of the file, read as `state` says.
    static PhoneBookIndex fromBytes(FileReadState state, const std::string& bytes,
                                    const PhoneNumbers& numbers);

    PhoneBookFileState state() const { return m_state; }
    FileReadState fileState() const;
    const PhoneBookEntry* find(std::string_view number) const;

private:
    explicit PhoneBookIndex(const PhoneNumbers& numbers) : m_byNumber(numbers) {}

    PhoneBookFileState m_state = PhoneBookFileState::Missing;
    // The complete entries in file order, and their numbers.
    std::vector<PhoneBookEntry> m_entries;
    NumberIndex m_byNumber;
};

// A personal sound is "<number>.wav" in "sound/".
constexpr std::string_view kSoundSuffix = ".wav";
std::string PersonalSoundFileName(std::string_view number);

// True when the number's personal sound file exists (letter case aside).
bool PersonalSoundExists(const QString& dataDir, std::string_view number);

// Deletes every "*.wav" in "sound/" that is neither the intro nor the outro
// nor the personal sound of a number in "PhoneBk.dat". Does nothing when
// "PhoneBk.dat" exists but cannot be read. Returns the number of files
// deleted, or -1 when it refused to run.
int PurgeOrphanSounds(const QString& dataDir, std::string_view introFile,
                      std::string_view outroFile);
