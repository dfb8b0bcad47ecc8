#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <vector>

// The records of CSV text as RFC 4180 has them, and as spreadsheets and
// address books write them: a field in double quotes may hold separators,
// line breaks and doubled quotes; records end with CR LF, LF or CR; a
// blank line is no record.
struct CsvRecords
{
    std::vector<QStringList> records;
    bool openQuote = false; // the text ended inside a quoted field
};

CsvRecords parseCsv(const QString& text, QChar separator);

// The same a piece of text at a time, for a file read as a stream: each
// record comes out as soon as its line end is read.
class CsvParser
{
public:
    explicit CsvParser(QChar separator) : m_separator(separator) {}

    // Reads the next piece, appending the records it completes.
    void feed(QStringView text, std::vector<QStringList>* records);
    // The end of the text: appends the last record; false when the text
    // ended inside a quoted field.
    bool finish(std::vector<QStringList>* records);

private:
    void endField();
    void endRecord(std::vector<QStringList>* records);

    QChar m_separator;
    QStringList m_record;
    QString m_field;
    bool m_quoted = false;
    bool m_fieldStarted = false; // the record has a character or a separator
};

// The separator of the header line: whichever of ';', ',' and tab it holds
// most often outside quotes; a null QChar when it holds none.
QChar csvSeparator(const QString& text);
