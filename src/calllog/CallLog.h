#pragma once

#include "numbers/PhoneNumbers.h"

#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Clock;
class ListObserver;
struct LocalDateTime;
class PhoneBookIndex;

// One logged call. callerName is never stored: it is looked up in the phone
// book whenever the row is made or loaded. Text is code page 1252 bytes.
struct CallRecord
{
    std::string date;         // DD-Mon-YYYY, Norwegian month
    std::string time;         // HH:MM:SS
    std::string msn;          // the called number, or "Ukjent nummer"
    std::string callerNumber; // the calling number, or "Ukjent nummer"
    std::string callerName;   // "first surname", or "???"
};

// Every piece of "CallID.dat" is read through a buffer of this many bytes.
constexpr size_t kCallLogLineBuffer = 200;
// The most bytes of a field that are written.
constexpr size_t kMaxCallLogField = 199;

extern const char* const kUnknownNumber; // "Ukjent nummer"
extern const char* const kUnknownName;   // "???"

// The calls, oldest first, kept in "<dataDir>/CallID.dat".
class CallLog
{
public:
    explicit CallLog(QString dataDir);

    const QString& dataDir() const { return m_dataDir; }
    QString filePath() const;

    // How the callers' numbers are matched to the phone book: as telephone
    // numbers of this home country ("NO" until told).
    void setCountry(const QString& country);
    const PhoneNumbers& numbers() const { return m_numbers; }

    // "PhoneBk.dat" read for the look-ups of the callers' names. The file is
    // read each time, but its numbers are read anew only when its bytes or
    // the home country have changed: once for each version of the book, not
    // at every load of the log or every call.
    const PhoneBookIndex& phoneBook() const;

    int size() const { return int(m_rows.size()); }
    const CallRecord& at(int row) const { return m_rows[size_t(row)]; }

    // True while rows in memory differ from what the file holds: a change
    // was made and not yet saved, or its save failed. Such rows are never
    // dropped by a reload. A successful save makes it false.
    bool unsaved() const { return m_unsaved; }

    // The view of the rows.
    void setObserver(ListObserver* observer) { m_observer = observer; }
    // A store that keeps data of its own beside each row (what became of
    // each call), in step with the rows: told of every change before the
    // view, so that the view finds it in step.
    void setCompanion(ListObserver* companion) { m_companion = companion; }

private:
    friend bool AddCall(CallLog&, std::string_view, std::string_view, const LocalDateTime&,
                        std::optional<std::string>);
    friend bool SaveCallLog(CallLog&);
    friend void LoadCallLog(CallLog&);
    friend void LoadCallLog(CallLog&, const PhoneBookIndex&);
    friend void ReloadCallLog(CallLog&);
    friend bool ClearCallLog(CallLog&);
    friend bool DeleteCall(CallLog&, int);

    QString m_dataDir;
    PhoneNumbers m_numbers{QStringLiteral("NO")};
    std::vector<CallRecord> m_rows;
    bool m_unsaved = false;
    mutable std::shared_ptr<const PhoneBookIndex> m_phoneBook;
    mutable std::string m_phoneBookBytes;
    ListObserver* m_observer = nullptr;
    ListObserver* m_companion = nullptr;

    // Tells the companion, then the view.
    template <typename Tell> void tell(Tell&& what)
    {
        if (m_companion)
            what(*m_companion);
        if (m_observer)
            what(*m_observer);
    }
};

// "06-Des-2026" and "02:39:46".
std::string FormatCallDate(const LocalDateTime& when);
std::string FormatCallTime(const LocalDateTime& when);

// Appends a row for a call at `when`, its name looked up in the phone book
// unless the caller already has it (`callerName`). Does not save. False (and
// nothing appended) when a text holds a line break.
bool AddCall(CallLog& log, std::string_view callerNumber, std::string_view msn,
             const LocalDateTime& when, std::optional<std::string> callerName = std::nullopt);
// The same at the clock's present moment.
bool AddCall(CallLog& log, std::string_view callerNumber, std::string_view msn, const Clock& clock,
             std::optional<std::string> callerName = std::nullopt);
// Rewrites "CallID.dat" from all rows. False when it could not be written;
// the rows stay in memory and the next save writes them all.
bool SaveCallLog(CallLog& log);
// Appends the rows of "CallID.dat" after the rows in memory.
void LoadCallLog(CallLog& log);
void LoadCallLog(CallLog& log, const PhoneBookIndex& phoneBook);
// Builds the rows anew from the file so that the names follow the phone book.
// When rows in memory are not yet in the file, their names are looked up
// again in place instead, so nothing is lost.
void ReloadCallLog(CallLog& log);
// Removes all rows, then saves.
bool ClearCallLog(CallLog& log);
// Removes one row, then saves. False for a row that does not exist.
bool DeleteCall(CallLog& log, int row);
