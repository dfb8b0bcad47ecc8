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

// The separator of the header line: whichever of ';', ',' and tab it holds
// most often outside quotes; a null QChar when it holds none.
QChar csvSeparator(const QString& text);
