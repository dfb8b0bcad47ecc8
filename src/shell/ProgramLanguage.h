#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>
#include <string>

// The language the windows speak in this run, and the translations that make
// them speak it: the program's own (Norwegian needs none, its texts are in
// the code) and Qt's for its dialogs, message box buttons and context menus.
// Only the windows are translated: what is printed on the command line or
// written to files and the broker never goes through a translator.
class ProgramLanguage
{
public:
    // "nb", "en" or "de": the LANGUAGE setting when it names one of them;
    // otherwise the first of the desktop's languages (uiLanguages: "de-AT",
    // "nn-NO", ...) that is Norwegian (nb, nn or no), English or German;
    // Norwegian for every other.
    static QString choose(const std::string& setting, const QStringList& uiLanguages);

    // Installs the translations of the language into the application, for as
    // long as this object lives. Qt's own come from the system where it has
    // them (Debian's qt6-translations-l10n); Norwegian ones, which the system
    // lacks, are built into the program.
    void install(const QString& language);

private:
    QTranslator m_qt;
    QTranslator m_program;
};
