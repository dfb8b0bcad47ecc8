#include "contacts/CsvRecords.h"

#include <array>

namespace {

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

} // namespace

void CsvParser::endField()
{
    m_record.append(m_field);
    m_field.clear();
}

void CsvParser::endRecord(std::vector<QStringList>* records)
{
    if (m_fieldStarted) {
        endField();
        records->push_back(m_record);
    }
    m_record.clear();
    m_field.clear();
    m_fieldStarted = false;
}

void CsvParser::feed(QStringView text, std::vector<QStringList>* records)
{
    const QChar quote = QLatin1Char('"');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (m_quoted) {
            if (c != quote)
                m_field += c;
            else if (i + 1 < text.size() && text[i + 1] == quote)
                m_field += text[++i];
            else
                m_quoted = false;
        } else if (c == quote && m_field.isEmpty()) {
            m_quoted = true;
            m_fieldStarted = true;
        } else if (c == m_separator) {
            endField();
            m_fieldStarted = true;
        } else if (isLineEnd(c)) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            endRecord(records);
        } else {
            // A quote inside an unquoted field is taken as it stands.
            m_field += c;
            m_fieldStarted = true;
        }
    }
}

bool CsvParser::finish(std::vector<QStringList>* records)
{
    const bool closed = !m_quoted;
    endRecord(records);
    return closed;
}

CsvRecords parseCsv(const QString& text, QChar separator)
{
    CsvParser parser(separator);
    CsvRecords result;
    parser.feed(text, &result.records);
    result.openQuote = !parser.finish(&result.records);
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
