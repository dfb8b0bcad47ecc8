#include "RecorderCommandLine.h"

#include "version/Version.h"

#include <QCommandLineParser>

RecorderCommandLine parseRecorderCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    // "/NEW" is not an option to the parser: it comes through as the first
    // positional argument, and the path after it as the second.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version."));
    parser.addOption(help);
    parser.addOption(version);

    RecorderCommandLine result;
    // The parser wants the program name first.
    if (!parser.parse(QStringList{QStringLiteral("ringvakt-recorder")} + arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (parser.isSet(help)) {
        result.action = RecorderCommandLine::Action::Help;
        return result;
    }
    if (parser.isSet(version)) {
        result.action = RecorderCommandLine::Action::Version;
        return result;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2 ||
        positional[0].compare(QLatin1String("/NEW"), Qt::CaseInsensitive) != 0) {
        result.error = QStringLiteral("expected /NEW and the path of the file to record");
        return result;
    }
    if (positional[1].isEmpty()) {
        result.error = QStringLiteral("the path of the file is empty");
        return result;
    }
    result.action = RecorderCommandLine::Action::Record;
    result.path = positional[1];
    return result;
}

QString recorderUsage()
{
    return QStringLiteral("Usage: ringvakt-recorder /NEW <file.wav>\n"
                          "\n"
                          "Opens a small window that records a sound from the default microphone.\n"
                          "The recording is written to <file.wav> (PCM, 16 bit, mono) only when\n"
                          "it is saved; nothing else is ever written.\n"
                          "\n"
                          "Options:\n"
                          "  -h, --help     Show this help.\n"
                          "  -v, --version  Show the version.\n");
}

QString recorderVersion()
{
    return QStringLiteral("ringvakt-recorder ") + QLatin1String(kRingvaktVersion);
}
