#pragma once

#include <string>

class CallLog;
class CallOutcomes;

// The call log as CSV that a spreadsheet opens as it stands: UTF-8 with a
// byte order mark (without it Excel reads the text as its own code page),
// comma separated, CR LF, fields quoted as RFC 4180 has it. The columns
// are those of the call log window, "Dato,Klokkeslett,MSN,Hvem
// ringte,Navn", then the date as ISO 8601 ("2026-12-07"), which sorts and
// reads as a date in any spreadsheet, then what became of the call:
// "Status" ("Besvart", "Ubesvart", "Telefonsvarer", or empty when that is not
// known) and "Varighet", how long it was taken, in seconds. The caller
// writes the file.
std::string callLogToCsv(const CallLog& log, const CallOutcomes* outcomes);

// "07-Des-2026" as "2026-12-07"; empty when the text is no such date.
std::string isoDateOf(const std::string& callDate);
