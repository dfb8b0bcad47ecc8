#include "contacts/CsvRecords.h"

#include <array>

namespace {

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

} // namespace

CsvRecords parseCsv(const QString& text, QChar separator)
{
    const QChar quote = QLatin1Char('"');
    CsvRecords result;
    QStringList record;
    QString field;
    bool quoted = false;
    bool fieldStarted = false; // the record has a character or a separator
    const auto endField = [&] {
        record.append(field);
        field.clear();
    };
    const auto endRecord = [&] {
        if (fieldStarted) {
            endField();
            result.records.push_back(record);
        }
        record.clear();
        field.clear();
        fieldStarted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c != quote)
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == quote)
                field += text[++i];
            else
                quoted = false;
        } else if (c == quote && field.isEmpty()) {
            quoted = true;
            fieldStarted = true;
        } else if (c == separator) {
            endField();
            fieldStarted = true;
        } else if (isLineEnd(c)) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            endRecord();
        } else {
            // A quote inside an unquoted field is taken as it stands.
            field += c;
            fieldStarted = true;
        }
    }
    result.openQuote = quoted;
    endRecord();
    return result;
}

QChar csvSeparator(const QString& text)
{
    const std::array<QChar, 3> candidates = {QLatin1Char(';'), QLatin1Char(','), QLatin1Char('\t')};
    std::array<int, 3> counts = {0, 0, 0};
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && isLineEnd(c))
            break;
        for (size_t k = 0; k < candidates.size(); ++k)
            counts[k] += !quoted && c == candidates[k];
    }
    size_t best = 0;
    for (size_t k = 1; k < candidates.size(); ++k) {
        if (counts[k] > counts[best])
            best = k;
    }
    return counts[best] > 0 ? candidates[best] : QChar();
}
