// ringvakt-recorder: the sound recorder that Ringvakt starts to record a
// personal sound, the intro or the outro:
//
//   ringvakt-recorder /NEW <path>
//
// It shows a window with "Ta opp", "Stopp", "Spill av", "Lagre" and "Lukk",
// records from the default microphone through SDL2, and writes the WAV
// file at <path> only when the user saves. Wrong arguments print the usage
// on standard error and end with exit code 2.

#include "RecorderCommandLine.h"
#include "RecorderWindow.h"
#include "settings/SettingsStore.h"
#include "shell/ProgramLanguage.h"
#include "version/Version.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QSettings>
#include <cstdio>

namespace {

// Ringvakt's LANGUAGE setting, read from its settings file without changing
// it; empty when there is none.
std::string languageSetting()
{
    QSettings ringvakt(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tornholt"),
                       QStringLiteral("Ringvakt"));
    ringvakt.setFallbacksEnabled(false);
    return ringvakt.value(QLatin1String(IniSettingsStore::kGroup) + QStringLiteral("/LANGUAGE"))
        .toString()
        .toStdString();
}

} // namespace

int main(int argc, char** argv)
{
    // The arguments are read before any window system is needed, so that
    // --help, --version and a usage error work without a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    const RecorderCommandLine command = parseRecorderCommandLine(arguments);
    switch (command.action) {
    case RecorderCommandLine::Action::Help:
        std::fputs(qPrintable(recorderUsage()), stdout);
        return 0;
    case RecorderCommandLine::Action::Version:
        std::printf("%s\n", qPrintable(recorderVersion()));
        return 0;
    case RecorderCommandLine::Action::Error:
        std::fprintf(stderr, "ringvakt-recorder: %s\n\n%s", qPrintable(command.error),
                     qPrintable(recorderUsage()));
        return 2;
    case RecorderCommandLine::Action::Record:
        break;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ringvakt-recorder"));
    QApplication::setApplicationVersion(QLatin1String(kRingvaktVersion));
    // The recorder is one of Ringvakt's windows: it speaks the language
    // Ringvakt's windows speak, and writes its numbers ("1,5 s") as that
    // language does.
    const QString chosen =
        ProgramLanguage::choose(languageSetting(), QLocale::system().uiLanguages());
    ProgramLanguage language;
    language.install(chosen);
    QLocale::setDefault(QLocale(chosen));
    RecorderWindow window(command.path);
    window.show();
    return app.exec();
}
