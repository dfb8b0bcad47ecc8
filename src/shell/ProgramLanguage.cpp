#include "shell/ProgramLanguage.h"

#include "settings/Languages.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>

namespace {

const char* const kBuiltIn = ":/translations";

bool offered(const QString& code)
{
    for (const Language& language : kLanguages) {
        if (code == QLatin1String(language.code))
            return true;
    }
    return false;
}

// Installs a translation built into the program; one that is missing is a
// fault of the build.
void installBuiltIn(QTranslator& translator, const QString& name)
{
    if (!translator.load(name, QString::fromLatin1(kBuiltIn)))
        qFatal("the translation %s is not built into the program", qPrintable(name));
    QCoreApplication::installTranslator(&translator);
}

} // namespace

QString ProgramLanguage::choose(const std::string& setting, const QStringList& uiLanguages)
{
    const QString chosen = QString::fromStdString(setting);
    if (offered(chosen))
        return chosen;
    static const QRegularExpression separator(QStringLiteral("[-_]"));
    for (const QString& tag : uiLanguages) {
        const QString code = tag.section(separator, 0, 0).toLower();
        // Bokmål, Nynorsk and the old code of both read the Norwegian texts.
        if (code == QLatin1String("nb") || code == QLatin1String("nn") ||
            code == QLatin1String("no"))
            return QString::fromLatin1(kNorwegian);
        if (offered(code))
            return code;
    }
    return QString::fromLatin1(kNorwegian);
}

void ProgramLanguage::install(const QString& language)
{
    // What the windows name in words of their own (the countries) follows
    // the language they speak, not the desktop's where the two differ.
    const QLocale windows(language);
    if (windows.language() != QLocale::system().language())
        QLocale::setDefault(windows);
    if (language == QLatin1String(kNorwegian)) {
        // The system has Qt's dialogs in Nynorsk at most: ours are Bokmål.
        installBuiltIn(m_qt, QStringLiteral("qt_nb"));
        return;
    }
    // Qt's translations are a help, not a need: without them its dialogs
    // speak English.
    if (m_qt.load(QStringLiteral("qtbase_") + language,
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qt);
    installBuiltIn(m_program, QStringLiteral("ringvakt_") + language);
}
