#pragma once

#include "outcomes/CallOutcome.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CallLog;
struct CallRecord;

// "CallStatus.dat": what became of the calls of "CallID.dat", beside it and
// never in it (that file stays as the Windows program reads it). A first
// line names the file and its version; then one line a call with an outcome,
// in log order, its fields separated by tabs:
//
//   date  time  msn  number  state  seconds  extension  seen  id
//
// The first four are the call's row as "CallID.dat" has them (code page
// 1252), and tie the outcome to its row: the outcomes are matched to the
// rows in order, and one whose row has gone (deleted, or a file changed by
// another program) is dropped. "state" is a word of callStateWord(),
// "seen" 0 or 1, "id" a shared call's id, percent-encoded. Lines end in
// CR LF, as in the other data files.
namespace outcomefile {

inline constexpr const char* kFileName = "CallStatus.dat";
inline constexpr const char* kHeader = "Ringvakt CallStatus 1";

// One line of the file: the row it belongs to, and its outcome.
struct Entry
{
    std::string date;
    std::string time;
    std::string msn;
    std::string callerNumber;
    CallOutcome outcome;

    bool belongsTo(const CallRecord& row) const;
};

// True when the row can be named in the file: none of its fields holds a
// tab or a line break (rows the program logs never do).
bool canName(const CallRecord& row);
// The file's first line.
void appendHeader(std::string& out);
// The line of a row's outcome.
void appendEntry(std::string& out, const CallRecord& row, const CallOutcome& outcome);

// The entries of a file, or nullopt when it is damaged (the first line that
// is not what this file holds in `badLine`, counted from 1).
std::optional<std::vector<Entry>> parse(std::string_view bytes, int* badLine);

// The row of the log each entry belongs to, or -1: the entries matched in
// order to rows with the same fields, each row taken once.
std::vector<int> matchRows(const std::vector<Entry>& entries, const CallLog& log);

} // namespace outcomefile
