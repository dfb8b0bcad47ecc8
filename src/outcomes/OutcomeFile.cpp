#include "outcomes/OutcomeFile.h"

#include "calllog/CallLog.h"
#include "line/LineCall.h"

#include <QByteArray>
#include <algorithm>
#include <unordered_map>

namespace outcomefile {

namespace {

constexpr size_t kFields = 9;
// The longest call length taken from the file: nine digits.
constexpr size_t kMaxSecondsDigits = 9;

bool isDigits(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string_view> splitTabs(std::string_view line)
{
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

bool parseEntry(std::string_view line, Entry* entry)
{
    const std::vector<std::string_view> f = splitTabs(line);
    if (f.size() != kFields)
        return false;
    const std::optional<CallState> state = callStateOf(f[4]);
    if (!state || f[5].empty() || f[5].size() > kMaxSecondsDigits || !isDigits(f[5]) ||
        !isDigits(f[6]) || f[6].size() > LineCall::kMaxTextNumber || (f[7] != "0" && f[7] != "1"))
        return false;
    entry->date = std::string(f[0]);
    entry->time = std::string(f[1]);
    entry->msn = std::string(f[2]);
    entry->callerNumber = std::string(f[3]);
    entry->outcome.state = *state;
    entry->outcome.seconds = std::stoi(std::string(f[5]));
    entry->outcome.extension = std::string(f[6]);
    entry->outcome.seen = f[7] == "1";
    entry->outcome.callId = QString::fromUtf8(
        QByteArray::fromPercentEncoding(QByteArray(f[8].data(), int(f[8].size()))));
    return true;
}

// The fields that tie an entry or a row to its call, as one text.
std::string keyOf(std::string_view date, std::string_view time, std::string_view msn,
                  std::string_view number)
{
    std::string key;
    key.reserve(date.size() + time.size() + msn.size() + number.size() + 3);
    key.append(date).append(1, '\t').append(time).append(1, '\t').append(msn).append(1, '\t');
    key.append(number);
    return key;
}

} // namespace

bool Entry::belongsTo(const CallRecord& row) const
{
    return row.callerNumber == callerNumber && row.time == time && row.date == date &&
           row.msn == msn;
}

bool canName(const CallRecord& row)
{
    for (const std::string* field : {&row.date, &row.time, &row.msn, &row.callerNumber}) {
        if (field->find_first_of("\t\r\n") != std::string::npos)
            return false;
    }
    return true;
}

void appendHeader(std::string& out)
{
    out.append(kHeader).append("\r\n");
}

void appendEntry(std::string& out, const CallRecord& row, const CallOutcome& outcome)
{
    out.append(keyOf(row.date, row.time, row.msn, row.callerNumber)).append(1, '\t');
    out.append(callStateWord(outcome.state)).append(1, '\t');
    out.append(std::to_string(std::max(0, outcome.seconds))).append(1, '\t');
    out.append(outcome.extension).append(1, '\t');
    out.append(outcome.seen ? "1" : "0").append(1, '\t');
    out.append(outcome.callId.toUtf8().toPercentEncoding().toStdString());
    out.append("\r\n");
}

std::optional<std::vector<Entry>> parse(std::string_view bytes, int* badLine)
{
    std::vector<Entry> entries;
    int number = 0;
    while (!bytes.empty()) {
        const size_t newline = bytes.find('\n');
        std::string_view line = bytes.substr(0, newline);
        bytes.remove_prefix(newline == std::string_view::npos ? bytes.size() : newline + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++number;
        Entry entry;
        if (number == 1 ? line != kHeader : !parseEntry(line, &entry)) {
            *badLine = number;
            return std::nullopt;
        }
        if (number > 1)
            entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<int> matchRows(const std::vector<Entry>& entries, const CallLog& log)
{
    std::vector<int> rows(entries.size(), -1);
    // Usually every entry has its row, in the same order: one pass.
    size_t next = 0;
    for (int row = 0; row < log.size() && next < entries.size(); ++row) {
        if (entries[next].belongsTo(log.at(row)))
            rows[next++] = row;
    }
    if (next == entries.size())
        return rows;

    // Some rows have gone: each entry takes the first row with its fields
    // after the row the entry before it took.
    std::unordered_map<std::string, std::vector<int>> rowsOf;
    for (int row = 0; row < log.size(); ++row) {
        const CallRecord& r = log.at(row);
        if (canName(r))
            rowsOf[keyOf(r.date, r.time, r.msn, r.callerNumber)].push_back(row);
    }
    int after = -1;
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        const auto found = rowsOf.find(keyOf(e.date, e.time, e.msn, e.callerNumber));
        rows[i] = -1;
        if (found == rowsOf.end())
            continue;
        const auto it = std::upper_bound(found->second.begin(), found->second.end(), after);
        if (it == found->second.end())
            continue;
        rows[i] = *it;
        after = *it;
    }
    return rows;
}

} // namespace outcomefile
