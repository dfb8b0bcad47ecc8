#include "shell/ProgramOptions.h"

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
    "  -h, --help          show this help and exit\n"
    "  -v, --version       show the version and exit\n"
    "\n"
    "Files:\n"
    "  CallID.dat, PhoneBk.dat, sound/   in the data directory: the call log,\n"
    "                      the phone book, personal sounds, Intro.wav, Outro.wav\n"
    "  ~/.config/Tornholt/Ringvakt.ini   the settings (group V1.51)\n"
    "  ~/.capi20rc         the CAPI line, e.g. \"REMOTE fritzbox 192.168.178.1 5031\"\n"
    "  $XDG_RUNTIME_DIR/ringvakt.lock    one Ringvakt per session\n"
    "\n"
    "Exit codes:\n"
    "  0  normal end, also when Ringvakt is running already\n"
    "  1  the line could not be reached at start\n"
    "  2  wrong use: an unknown option, a data directory or lock that cannot be had\n";

} // namespace

QString programUsage()
{
    return QString::fromUtf8(kUsage);
}

QString programVersion()
{
    return QStringLiteral("Ringvakt 1.52");
}

ProgramOptions parseProgramOptions(const QStringList& arguments)
{
    ProgramOptions o;
    bool autostartGiven = false;
    auto fail = [&o](const QString& error) {
        o.action = ProgramOptions::Action::UsageError;
        o.error = error;
        return o;
    };
    for (int i = 0; i < arguments.size(); ++i) {
        QString arg = arguments[i];
        QString value;
        bool hasValue = false;
        const int eq = arg.indexOf(QLatin1Char('='));
        if (arg.startsWith(QLatin1String("--")) && eq > 0) {
            value = arg.mid(eq + 1);
            arg = arg.left(eq);
            hasValue = true;
        }
        auto takeValue = [&]() -> bool {
            if (hasValue)
                return true;
            if (i + 1 >= arguments.size())
                return false;
            value = arguments[++i];
            return true;
        };
        if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            o.action = ProgramOptions::Action::Help;
            return o;
        }
        if (arg == QLatin1String("-v") || arg == QLatin1String("--version")) {
            o.action = ProgramOptions::Action::Version;
            return o;
        }
        if (arg == QLatin1String("--data-dir")) {
            if (!takeValue() || value.isEmpty())
                return fail(QStringLiteral("--data-dir needs a directory"));
            o.dataDir = value;
        } else if (arg == QLatin1String("--desktop-data") && !hasValue) {
            o.desktopData = true;
        } else if (arg == QLatin1String("--session-start") && !hasValue) {
            o.sessionStart = true;
        } else if (arg == QLatin1String("--autostart")) {
            if (!takeValue() || (value != QLatin1String("on") && value != QLatin1String("off")))
                return fail(QStringLiteral("--autostart takes on or off"));
            autostartGiven = true;
            o.autostartOn = value == QLatin1String("on");
        } else {
            return fail(QStringLiteral("unknown option %1").arg(arguments[i]));
        }
    }
    if (!o.dataDir.isEmpty() && o.desktopData)
        return fail(QStringLiteral("--data-dir and --desktop-data cannot be given together"));
    if (autostartGiven)
        o.action = ProgramOptions::Action::Autostart;
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
    if (!info.exists() && !QDir().mkpath(dir)) {
        *error = QStringLiteral("cannot create the data directory %1").arg(dir);
        return {};
    }
    if (!QFileInfo(dir).isWritable()) {
        *error = QStringLiteral("the data directory %1 cannot be written").arg(dir);
        return {};
    }
    return QDir(dir).canonicalPath();
}
