#include "contacts/CallLogCsv.h"

#include "calllog/CallLog.h"
#include "outcomes/CallOutcomes.h"
#include "platform/Cp1252.h"

#include <QDate>
#include <algorithm>
#include <array>

namespace {

constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "Mai", "Jun",
                                                 "Jul", "Aug", "Sep", "Okt", "Nov", "Des"};

bool isPlainNumber(const std::string& text)
{
    const size_t digitsFrom = !text.empty() && text[0] == '+' ? 1 : 0;
    return text.size() > digitsFrom && std::all_of(text.begin() + long(digitsFrom), text.end(),
                                                   [](char c) { return c >= '0' && c <= '9'; });
}

// One field in UTF-8. A spreadsheet takes a field that begins with "=",
// "+", "-" or "@" for a formula and runs it; numbers from the line can
// hold anything, so such a field (other than a plain "+4722123456") is
// kept as text by a leading apostrophe. Quoted when it holds a comma, a
// quote or a line break.
std::string csvField(const std::string& cp1252Bytes)
{
    std::string text = cp1252::toQString(cp1252Bytes).toStdString();
    if (!text.empty() && std::string("=+-@\t\r").find(text[0]) != std::string::npos &&
        !isPlainNumber(text))
        text.insert(0, 1, '\'');
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

// The two last columns: the outcome's word, and the length in seconds of a
// call that was taken. Data, not window text: never translated.
void appendOutcome(std::string& out, const CallOutcome* outcome)
{
    if (!outcome) {
        out.append(1, ',');
        return;
    }
    switch (outcome->state) {
    case CallState::Answered:
        out.append("Besvart,").append(std::to_string(outcome->seconds));
        return;
    case CallState::Voicemail:
        out.append("Telefonsvarer,").append(std::to_string(outcome->seconds));
        return;
    case CallState::Missed:
        out.append("Ubesvart,");
        return;
    case CallState::Ringing:
    case CallState::Unknown:
        break;
    }
    out.append(1, ',');
}

} // namespace

std::string isoDateOf(const std::string& callDate)
{
    // DD-Mon-YYYY
    if (callDate.size() != 11 || callDate[2] != '-' || callDate[6] != '-')
        return {};
    const std::string monthName = callDate.substr(3, 3);
    const auto month = std::find(kMonths.begin(), kMonths.end(), monthName);
    if (month == kMonths.end())
        return {};
    bool dayOk = false;
    bool yearOk = false;
    const int day = QString::fromLatin1(callDate.substr(0, 2).c_str()).toInt(&dayOk);
    const int year = QString::fromLatin1(callDate.substr(7, 4).c_str()).toInt(&yearOk);
    const QDate date(year, int(month - kMonths.begin()) + 1, day);
    if (!dayOk || !yearOk || !date.isValid())
        return {};
    return date.toString(Qt::ISODate).toStdString();
}

std::string callLogToCsv(const CallLog& log, const CallOutcomes* outcomes)
{
    std::string out = "\xEF\xBB\xBF";
    out += "Dato,Klokkeslett,MSN,Hvem ringte,Navn,Dato (ISO 8601),Status,Varighet\r\n";
    for (int row = 0; row < log.size(); ++row) {
        const CallRecord& call = log.at(row);
        // "???" is the window's placeholder, not a name.
        const std::string name = call.callerName == kUnknownName ? std::string() : call.callerName;
        for (const std::string* field :
             {&call.date, &call.time, &call.msn, &call.callerNumber, &name}) {
            out += csvField(*field);
            out += ',';
        }
        out += isoDateOf(call.date);
        out += ',';
        appendOutcome(out, outcomes ? outcomes->at(row) : nullptr);
        out += "\r\n";
    }
    return out;
}
