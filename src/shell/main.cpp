#include "capi/Libcapi20Api.h"
#include "line/LineTiming.h"
#include "platform/Clock.h"
#include "platform/RecorderStarter.h"
#include "platform/SignalNotifier.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "shell/Application.h"
#include "shell/Autostart.h"
#include "shell/CommandIds.h"
#include "shell/CommandLineTransfer.h"
#include "shell/ProgramLanguage.h"
#include "shell/ProgramOptions.h"
#include "shell/SingleInstance.h"
#include "sound/SdlSoundOutput.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <csignal>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

QString ownExecutable()
{
    // The program as it was started, to be started again at login.
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    return self.exists() ? self.canonicalFilePath() : QStringLiteral("ringvakt");
}

void print(FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// What a start needs before it can do its work: the single-instance lock
// (when `lock`) and the data directory. Nothing when both were had;
// otherwise the exit code, after saying why: `whenRunning` while another
// Ringvakt holds the lock (with `runningText`, when there is one), 2 when
// the lock or the directory cannot be had.
std::optional<int> prepare(const ProgramOptions& options, SingleInstance& instance, bool lock,
                           int whenRunning, const QString& runningText, QString* dataDir)
{
    if (lock) {
        switch (instance.acquire()) {
        case SingleInstance::Result::Acquired:
            break;
        case SingleInstance::Result::HeldByOther:
            if (!runningText.isEmpty())
                print(stderr, QStringLiteral("ringvakt: %1\n").arg(runningText));
            return whenRunning;
        case SingleInstance::Result::Failed:
            print(stderr, QStringLiteral("ringvakt: %1\n").arg(instance.error()));
            return 2;
        }
    }
    QString error;
    *dataDir = resolveDataDir(options, &error);
    if (dataDir->isEmpty()) {
        print(stderr, QStringLiteral("ringvakt: %1\n").arg(error));
        return 2;
    }
    return std::nullopt;
}

// An import or export without windows; the exit code. What it prints is
// English, whatever the language of the windows: the reports of imports and
// exports that the windows show in their language (a file that cannot be
// read, what an import adds) come through the English translation.
int transfer(int argc, char** argv, const ProgramOptions& options)
{
    QCoreApplication app(argc, argv);
    ProgramLanguage english;
    english.install(QStringLiteral("en"));

    // An import changes the phone book: not behind a running program's back,
    // whose phone book window would save over it.
    SingleInstance instance;
    QString dataDir;
    if (const std::optional<int> code =
            prepare(options, instance, options.action == ProgramOptions::Action::Import, 1,
                    QStringLiteral("Ringvakt is running; import from its phone book window "
                                   "(Importer kontakter...), or end it first"),
                    &dataDir))
        return *code;
    // The home country, as the running program reads numbers.
    IniSettingsStore settingsStore;
    Settings settings;
    LoadSettings(settings, settingsStore);
    const TransferRun run = runTransfer(options, dataDir, QString::fromStdString(settings.COUNTRY));
    print(stdout, run.out);
    print(stderr, run.err);
    return run.exitCode;
}

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const ProgramOptions options = parseProgramOptions(arguments);
    switch (options.action) {
    case ProgramOptions::Action::Help:
        print(stdout, programUsage());
        return 0;
    case ProgramOptions::Action::Version:
        print(stdout, programVersion() + QLatin1Char('\n'));
        return 0;
    case ProgramOptions::Action::UsageError:
        print(stderr, QStringLiteral("ringvakt: %1\n\n").arg(options.error) + programUsage());
        return 2;
    case ProgramOptions::Action::Autostart: {
        QString report;
        const bool ok = options.autostartOn ? autostart::enable(ownExecutable(), &report)
                                            : autostart::disable(&report);
        print(ok ? stdout : stderr,
              (ok ? QString() : QStringLiteral("ringvakt: ")) + report + QLatin1Char('\n'));
        return ok ? 0 : 1;
    }
    case ProgramOptions::Action::Import:
    case ProgramOptions::Action::ExportCalls:
    case ProgramOptions::Action::ExportPhoneBook:
        return transfer(argc, argv, options);
    case ProgramOptions::Action::Run:
        break;
    }

    // A second start ends at once and changes nothing in the first. A lock
    // that cannot be had at all is said, never taken for another instance.
    SingleInstance instance;
    QString dataDir;
    if (const std::optional<int> code = prepare(options, instance, true, 0, {}, &dataDir))
        return *code;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ringvakt"));
    QApplication::setOrganizationName(QStringLiteral("Tornholt"));
    QApplication::setDesktopFileName(QString::fromLatin1(autostart::kDesktopId));
    QApplication::setQuitOnLastWindowClosed(false);

    IniSettingsStore settingsStore;
    // The windows speak the language chosen in the settings or the
    // desktop's, from their first text on. Only they do: what is printed
    // above on the command line, and what the program writes to its files
    // and the broker, stays as it is whatever the language.
    ProgramLanguage language;
    {
        Settings settings;
        LoadSettings(settings, settingsStore);
        language.install(
            ProgramLanguage::choose(settings.LANGUAGE, QLocale::system().uiLanguages()));
    }

    const LineTiming timing = LineTiming::fromEnvironment();
    Libcapi20Api capi(timing);
    SdlSoundOutput sound;
    SystemClock clock;
    ProcessRecorderStarter recorder;
    Application ringvakt({capi, settingsStore, sound, clock, recorder, dataDir, timing});
    // At the start of a session the panel may come up after the program.
    if (options.sessionStart)
        ringvakt.setTrayWait(30000);

    // Logout, kill, Ctrl+C and the terminal it was started from closing end
    // the program the normal way.
    SignalNotifier termination({SIGTERM, SIGINT, SIGHUP});
    QObject::connect(&termination, &SignalNotifier::signalled, &ringvakt,
                     [&ringvakt] { ringvakt.command(command::Exit); });

    SignalPipe::setEndAtOnce(true);
    const bool started = ringvakt.start();
    SignalPipe::setEndAtOnce(false);
    if (!started)
        return 1;
    const int code = app.exec();
    if (ringvakt.backgroundWorkRunning()) {
        // A registration still being made is not waited for (it may wait on
        // a line that does not answer); ending the process closes its
        // connection to the line. The objects it uses must not be torn down
        // under it, so the process ends here.
        std::fflush(nullptr);
        instance.release();
        _exit(code);
    }
    return code;
}
