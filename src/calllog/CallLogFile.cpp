#include "calllog/CallLog.h"
#include "phonebook/PhoneBook.h"
#include "platform/ListObserver.h"
#include "platform/SafeFile.h"
#include "platform/TextLines.h"

#include <algorithm>

namespace {

constexpr size_t kLinesPerCall = 4;

std::string nameFor(const PhoneBookIndex& phoneBook, const std::string& number)
{
    const PhoneBookEntry* entry = phoneBook.find(number);
    if (!entry)
        return kUnknownName;
    std::string name;
    name.reserve(entry->firstName.size() + 1 + entry->surname.size());
    name.append(entry->firstName).append(1, ' ').append(entry->surname);
    return name;
}

void appendField(std::string& bytes, const std::string& field)
{
    bytes.append(field, 0, std::min(field.size(), kMaxCallLogField));
    bytes += "\r\n";
}

// The rows of the file, their names looked up; Read, Missing or Unreadable.
// The file can hold a hundred thousand calls: its lines are taken as views
// into the bytes read, not copied into a list of their own first.
FileReadState readRows(const QString& path, const PhoneBookIndex& phoneBook,
                       std::vector<CallRecord>* rows)
{
    std::string bytes;
    const FileReadState state = readWholeFile(path, &bytes);
    const size_t lineFeeds = size_t(std::count(bytes.begin(), bytes.end(), '\n'));
    rows->reserve(rows->size() + lineFeeds / kLinesPerCall + 1);

    // Groups of four lines, whatever they hold. A last group that is not
    // complete leaves its missing fields and the name empty.
    TextLineReader reader(bytes, kCallLogLineBuffer);
    std::string_view line;
    size_t field = 0;
    while (reader.next(&line)) {
        switch (field) {
        case 0:
            rows->emplace_back();
            rows->back().date = line;
            break;
        case 1:
            rows->back().time = line;
            break;
        case 2:
            rows->back().msn = line;
            break;
        default:
            rows->back().callerNumber = line;
            rows->back().callerName = nameFor(phoneBook, rows->back().callerNumber);
            break;
        }
        field = (field + 1) % kLinesPerCall;
    }
    return state;
}

} // namespace

bool SaveCallLog(CallLog& log)
{
    std::string bytes;
    for (const CallRecord& row : log.m_rows) {
        appendField(bytes, row.date);
        appendField(bytes, row.time);
        appendField(bytes, row.msn);
        appendField(bytes, row.callerNumber);
    }
    const bool saved = replaceFileAtomically(log.filePath(), bytes);
    // On failure the rows stay in memory, and a later save writes them all.
    log.m_unsaved = !saved;
    return saved;
}

void LoadCallLog(CallLog& log)
{
    LoadCallLog(log, log.phoneBook());
}

void LoadCallLog(CallLog& log, const PhoneBookIndex& phoneBook)
{
    std::vector<CallRecord> rows;
    readRows(log.filePath(), phoneBook, &rows);
    if (rows.empty())
        return;
    const int first = log.size();
    log.tell([&](ListObserver& o) { o.beginInsertRows(first, first + int(rows.size()) - 1); });
    if (log.m_rows.empty())
        log.m_rows = std::move(rows);
    else
        log.m_rows.insert(log.m_rows.end(), std::make_move_iterator(rows.begin()),
                          std::make_move_iterator(rows.end()));
    log.tell([&](ListObserver& o) { o.endInsertRows(); });
}

void ReloadCallLog(CallLog& log)
{
    const PhoneBookIndex& phoneBook = log.phoneBook();

    // Rows that the file does not hold yet are written first; a reload must
    // never lose them.
    if (log.m_unsaved)
        SaveCallLog(log);

    std::vector<CallRecord> rows;
    const FileReadState state =
        log.m_unsaved ? FileReadState::Unreadable : readRows(log.filePath(), phoneBook, &rows);

    if (state == FileReadState::Unreadable) {
        // The file cannot stand in for the rows in memory: keep them, and
        // let only their names follow the phone book.
        for (int row = 0; row < log.size(); ++row) {
            CallRecord& record = log.m_rows[size_t(row)];
            // A row made from an incomplete last group has no name.
            if (record.callerName.empty() && record.callerNumber.empty())
                continue;
            std::string name = nameFor(phoneBook, record.callerNumber);
            if (name != record.callerName) {
                record.callerName = std::move(name);
                log.tell([&](ListObserver& o) { o.rowChanged(row); });
            }
        }
        return;
    }

    log.tell([&](ListObserver& o) { o.beginResetRows(); });
    log.m_rows = std::move(rows);
    log.tell([&](ListObserver& o) { o.endResetRows(); });
}
