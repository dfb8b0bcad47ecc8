#pragma once

#include <QString>

// What the user is told when a contact file cannot be imported. Each says
// what is wrong with the file; nothing has been changed when one is shown.
namespace contactfile {

inline QString missingMessage()
{
    return QStringLiteral("Filen finnes ikke.");
}

inline QString cannotReadMessage()
{
    return QStringLiteral("Filen kan ikke leses.");
}

inline QString tooLargeMessage()
{
    return QStringLiteral("Filen er for stor (over 256 MB).");
}

inline QString emptyMessage()
{
    return QStringLiteral("Filen er tom.");
}

inline QString unknownFormatMessage()
{
    return QStringLiteral("Filen er ikke en vCard-, CSV- eller ruterkatalogfil.");
}

inline QString truncatedCardMessage()
{
    return QStringLiteral("Filen slutter midt i et kort: BEGIN:VCARD uten END:VCARD.");
}

inline QString badXmlMessage(qint64 line)
{
    return QStringLiteral("Ruterkatalogen er ikke gyldig XML (linje %1).").arg(line);
}

// Router exports have no DTD; one in a file could make the reader fetch
// other files or expand its entities without end.
inline QString dtdMessage()
{
    return QStringLiteral("Ruterkatalogen har en DTD (<!DOCTYPE>), som ingen ruters eksport har.");
}

inline QString noCsvHeaderMessage()
{
    return QStringLiteral(
        "CSV-filen har ingen overskriftsrad med kjente kolonner for navn og telefonnummer.");
}

inline QString openQuoteMessage()
{
    return QString::fromUtf8("CSV-filen slutter inne i et felt i anførselstegn.");
}

} // namespace contactfile
