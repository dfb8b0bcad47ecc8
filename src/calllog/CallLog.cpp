#include "calllog/CallLog.h"

#include "phonebook/PhoneBook.h"
#include "platform/Clock.h"
#include "platform/ListObserver.h"
#include "platform/SafeFile.h"

#include <QDir>

const char* const kUnknownNumber = "Ukjent nummer";
const char* const kUnknownName = "???";

namespace {

bool holdsLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

std::string cutField(std::string_view text)
{
    return std::string(text.substr(0, std::min(text.size(), kMaxCallLogField)));
}

} // namespace

CallLog::CallLog(QString dataDir) : m_dataDir(std::move(dataDir)) {}

void CallLog::setCountry(const QString& country)
{
    m_numbers = PhoneNumbers(country);
    m_phoneBook.reset();
}

const PhoneBookIndex& CallLog::phoneBook() const
{
    std::string bytes;
    const FileReadState state =
        readWholeFile(QDir(m_dataDir).filePath(QStringLiteral("PhoneBk.dat")), &bytes);
    if (!m_phoneBook || m_phoneBook->fileState() != state || bytes != m_phoneBookBytes) {
        m_phoneBook = std::make_shared<const PhoneBookIndex>(
            PhoneBookIndex::fromBytes(state, bytes, m_numbers));
        m_phoneBookBytes = std::move(bytes);
    }
    return *m_phoneBook;
}

QString CallLog::filePath() const
{
    return QDir(m_dataDir).filePath(QStringLiteral("CallID.dat"));
}

bool AddCall(CallLog& log, std::string_view callerNumber, std::string_view msn, const Clock& clock,
             std::optional<std::string> callerName)
{
    return AddCall(log, callerNumber, msn, clock.now(), std::move(callerName));
}

bool AddCall(CallLog& log, std::string_view callerNumber, std::string_view msn,
             const LocalDateTime& when, std::optional<std::string> callerName)
{
    // A line break would split the row's line and shift every later row.
    if (holdsLineBreak(callerNumber) || holdsLineBreak(msn))
        return false;

    CallRecord record;
    record.date = FormatCallDate(when);
    record.time = FormatCallTime(when);
    record.msn = cutField(msn);
    record.callerNumber = cutField(callerNumber);

    const PhoneBookEntry* entry = nullptr;
    if (callerName)
        record.callerName = std::move(*callerName);
    else if (record.callerNumber == kUnknownNumber)
        record.callerName = kUnknownName;
    else if ((entry = log.phoneBook().find(record.callerNumber)))
        record.callerName = entry->firstName + " " + entry->surname;
    else
        record.callerName = kUnknownName;

    const int row = log.size();
    log.tell([&](ListObserver& o) { o.beginInsertRows(row, row); });
    log.m_rows.push_back(std::move(record));
    // The row is not in the file until the next save.
    log.m_unsaved = true;
    log.tell([&](ListObserver& o) { o.endInsertRows(); });
    return true;
}

bool ClearCallLog(CallLog& log)
{
    if (!log.m_rows.empty()) {
        log.tell([&](ListObserver& o) { o.beginRemoveRows(0, log.size() - 1); });
        log.m_rows.clear();
        log.m_unsaved = true;
        log.tell([&](ListObserver& o) { o.endRemoveRows(); });
    }
    return SaveCallLog(log);
}

bool DeleteCall(CallLog& log, int row)
{
    if (row < 0 || row >= log.size())
        return false;
    log.tell([&](ListObserver& o) { o.beginRemoveRows(row, row); });
    log.m_rows.erase(log.m_rows.begin() + row);
    log.m_unsaved = true;
    log.tell([&](ListObserver& o) { o.endRemoveRows(); });
    return SaveCallLog(log);
}
