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
#include "version/Version.h"

#include <QApplication>
#include <QFile>
#include <cstdio>

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
    RecorderWindow window(command.path);
    window.show();
    return app.exec();
}
