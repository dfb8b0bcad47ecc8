#pragma once

#include <QCoreApplication>
#include <QString>

// The texts of imports and exports: the phone book window's, where the user
// imports and exports (the call log's export has the same words). The
// command line prints them in English.
struct ContactTexts
{
    Q_DECLARE_TR_FUNCTIONS(PhoneBookWindow)
};

// What the user is told when a contact file cannot be imported. Each says
// what is wrong with the file; nothing has been changed when one is shown.
namespace contactfile {

inline QString missingMessage()
{
    return ContactTexts::tr("Filen finnes ikke.");
}

inline QString cannotReadMessage()
{
    return ContactTexts::tr("Filen kan ikke leses.");
}

inline QString tooLargeMessage()
{
    return ContactTexts::tr("Filen er for stor (over 256 MB).");
}

inline QString emptyMessage()
{
    return ContactTexts::tr("Filen er tom.");
}

inline QString unknownFormatMessage()
{
    return ContactTexts::tr("Filen er ikke en vCard-, CSV- eller ruterkatalogfil.");
}

inline QString truncatedCardMessage()
{
    return ContactTexts::tr("Filen slutter midt i et kort: BEGIN:VCARD uten END:VCARD.");
}

inline QString badXmlMessage(qint64 line)
{
    return ContactTexts::tr("Ruterkatalogen er ikke gyldig XML (linje %1).").arg(line);
}

// Router exports have no DTD; one in a file could make the reader fetch
// other files or expand its entities without end.
inline QString dtdMessage()
{
    return ContactTexts::tr(
        "Ruterkatalogen har en DTD (<!DOCTYPE>), som ingen ruters eksport har.");
}

inline QString noCsvHeaderMessage()
{
    return ContactTexts::tr(
        "CSV-filen har ingen overskriftsrad med kjente kolonner for navn og telefonnummer.");
}

inline QString openQuoteMessage()
{
    return ContactTexts::tr("CSV-filen slutter inne i et felt i anførselstegn.");
}

} // namespace contactfile
