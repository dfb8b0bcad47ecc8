#include "numbers/CountryNames.h"

#include "numbers/PhoneNumbers.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <unicode/locid.h>
#include <unicode/unistr.h>

QList<CountryName> countryNames(const QString& language)
{
    const icu::Locale reader(QLocale(language).name().toLatin1().constData());
    QList<CountryName> countries;
    for (const QString& code : PhoneNumbers::knownCountries()) {
        // A locale of no language in that country: its display name is the
        // country's alone.
        const icu::Locale country("", code.toLatin1().constData());
        icu::UnicodeString name;
        country.getDisplayCountry(reader, name);
        QString text =
            QString::fromUtf16(reinterpret_cast<const char16_t*>(name.getBuffer()), name.length());
        // ICU answers with the code itself where it knows no name.
        if (text.isEmpty())
            text = code;
        countries.append(CountryName{code, text});
    }
    QCollator collator{QLocale(language)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(countries.begin(), countries.end(),
              [&collator](const CountryName& a, const CountryName& b) {
                  return collator.compare(a.name, b.name) < 0;
              });
    return countries;
}
