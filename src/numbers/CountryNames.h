#pragma once

#include <QList>
#include <QString>

// A home country to choose: its ISO code and its name in the user's
// language.
struct CountryName
{
    QString code;
    QString name;
};

// Every country whose numbers can be read, named in `language` (a BCP 47
// tag: "nb", "en-GB", "de") as ICU names countries in it ("USA",
// "Storbritannia"; "Vereinigte Staaten"), and sorted as that language sorts
// ("Østerrike" after "Zimbabwe" in Norwegian, "Österreich" among the O's in
// German). A country ICU has no name for is named by its code.
QList<CountryName> countryNames(const QString& language);
