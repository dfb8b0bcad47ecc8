#include "shell/ProgramOptions.h"

#include "platform/SafeFile.h"
#include "version/Version.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace {

const char* const kUsage =
    "Usage: ringvakt [options]\n"
    "\n"
    "Ringvakt shows who is calling before you pick up: it watches a telephone\n"
    "line (CAPI 2.0, or a router's call monitor), logs every call, names the\n"
    "caller from your phone book and announces the call. It lives in the tray.\n"
    "\n"
    "Options:\n"
    "  --data-dir DIR      keep the call log, phone book and sounds in DIR\n"
    "                      (created if missing); default: the working directory\n"
    "  --desktop-data      keep them in $XDG_DATA_HOME/Ringvakt\n"
    "                      (~/.local/share/Ringvakt); the menu and autostart\n"
    "                      entries start Ringvakt with this\n"
    "  --session-start     started with the desktop session: wait up to 30 s for\n"
    "                      the panel's tray before showing the call log instead\n"
    "  --autostart on|off  start Ringvakt with your desktop session, or no\n"
    "                      longer; says what it did and exits\n"
    "  --import FILE       add the contacts of FILE (vCard, a router's XML phone\n"
    "                      book, or CSV with a header row) to the phone book of\n"
    "                      the data directory; numbers already there are\n"
    "                      skipped; says what it did and exits\n"
    "  --export-phonebook FILE\n"
    "                      write the phone book to FILE as vCard 3.0 and exit\n"
    "  --export-calls FILE write the call log to FILE as CSV (UTF-8) and exit\n"
    "  -h, --help          show this help and exit\n"
    "  -v, --version       show the version and exit\n"
    "\n"
    "Files:\n"
    "  CallID.dat, PhoneBk.dat, sound/   in the data directory: the call log,\n"
    "                      the phone book, personal sounds, Intro.wav, Outro.wav\n"
    "  CallStatus.dat      in the data directory: what became of each call\n"
    "  ~/.config/Tornholt/Ringvakt.ini   the settings (group V1.51)\n"
    "  ~/.capi20rc         the CAPI line, e.g. \"REMOTE fritzbox 192.168.178.1 5031\"\n"
    "  $XDG_RUNTIME_DIR/ringvakt.lock    one Ringvakt per session\n"
    "\n"
    "Exit codes:\n"
    "  0  normal end, also when Ringvakt is running already\n"
    "  1  the line could not be reached at start; an import or export failed\n"
    "  2  wrong use: an unknown option, a data directory or lock that cannot be had\n";

} // namespace

QString programUsage()
{
    return QString::fromUtf8(kUsage);
}

QString programVersion()
{
    return QStringLiteral("Ringvakt ") + QLatin1String(kRingvaktVersion);
}

ProgramOptions parseProgramOptions(const QStringList& arguments)
{
    ProgramOptions o;
    auto fail = [&o](const QString& error) {
        o.action = ProgramOptions::Action::UsageError;
        o.error = error;
        return o;
    };
    // The help text is our own (programUsage): the parser only reads.
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    const QCommandLineOption dataDir(QStringLiteral("data-dir"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption desktopData(QStringLiteral("desktop-data"), QString());
    const QCommandLineOption sessionStart(QStringLiteral("session-start"), QString());
    const QCommandLineOption autostart(QStringLiteral("autostart"), QString(),
                                       QStringLiteral("on|off"));
    const QCommandLineOption import(QStringLiteral("import"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption exportCalls(QStringLiteral("export-calls"), QString(),
                                         QStringLiteral("FILE"));
    const QCommandLineOption exportPhoneBook(QStringLiteral("export-phonebook"), QString(),
                                             QStringLiteral("FILE"));
    parser.addOptions({help, version, dataDir, desktopData, sessionStart, autostart, import,
                       exportCalls, exportPhoneBook});
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);

    if (!parser.parse(QStringList{QStringLiteral("ringvakt")} + arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        return fail(unknown.isEmpty() ? parser.errorText()
                                      : QStringLiteral("unknown option %1").arg(unknown.first()));
    }
    if (parser.isSet(help)) {
        o.action = ProgramOptions::Action::Help;
        return o;
    }
    if (parser.isSet(version)) {
        o.action = ProgramOptions::Action::Version;
        return o;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unknown option %1").arg(parser.positionalArguments().first()));
    if (parser.isSet(dataDir)) {
        o.dataDir = parser.value(dataDir);
        if (o.dataDir.isEmpty())
            return fail(QStringLiteral("--data-dir needs a directory"));
    }
    o.desktopData = parser.isSet(desktopData);
    o.sessionStart = parser.isSet(sessionStart);
    if (!o.dataDir.isEmpty() && o.desktopData)
        return fail(QStringLiteral("--data-dir and --desktop-data cannot be given together"));
    if (parser.isSet(autostart)) {
        const QString value = parser.value(autostart);
        if (value != QLatin1String("on") && value != QLatin1String("off"))
            return fail(QStringLiteral("--autostart takes on or off"));
        o.autostartOn = value == QLatin1String("on");
        o.action = ProgramOptions::Action::Autostart;
    }
    // One job a start: the program, the autostart, or one transfer.
    const std::pair<const QCommandLineOption*, ProgramOptions::Action> transfers[] = {
        {&import, ProgramOptions::Action::Import},
        {&exportCalls, ProgramOptions::Action::ExportCalls},
        {&exportPhoneBook, ProgramOptions::Action::ExportPhoneBook}};
    for (const auto& [option, action] : transfers) {
        if (!parser.isSet(*option))
            continue;
        const QString name = QStringLiteral("--") + option->names().first();
        if (o.action != ProgramOptions::Action::Run)
            return fail(QStringLiteral("%1 cannot be given together with --autostart, --import "
                                       "or another export")
                            .arg(name));
        if (parser.values(*option).size() > 1)
            return fail(QStringLiteral("%1 takes one file").arg(name));
        o.file = parser.value(*option);
        if (o.file.isEmpty())
            return fail(QStringLiteral("%1 needs a file").arg(name));
        o.action = action;
    }
    return o;
}

QString desktopDataDir()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    // XDG base directories must be absolute; a relative one is ignored.
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/Ringvakt");
}

QString resolveDataDir(const ProgramOptions& options, QString* error)
{
    QString dir = QDir::currentPath();
    if (!options.dataDir.isEmpty())
        dir = QDir(options.dataDir).absolutePath();
    else if (options.desktopData)
        dir = desktopDataDir();
    const QFileInfo info(dir);
    if (info.exists() && !info.isDir()) {
        *error = QStringLiteral("the data directory %1 is a file, not a directory").arg(dir);
        return {};
    }
    if (!info.exists() && !makePrivateDirectory(dir)) {
        *error = QStringLiteral("cannot create the data directory %1").arg(dir);
        return {};
    }
    if (!QFileInfo(dir).isWritable()) {
        *error = QStringLiteral("the data directory %1 cannot be written").arg(dir);
        return {};
    }
    return QDir(dir).canonicalPath();
}
