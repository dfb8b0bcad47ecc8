#include "capi/Libcapi20Api.h"
#include "line/LineTiming.h"
#include "platform/Clock.h"
#include "platform/RecorderStarter.h"
#include "platform/SdlSoundOutput.h"
#include "settings/SettingsStore.h"
#include "shell/Application.h"
#include "shell/CommandIds.h"
#include "shell/SingleInstance.h"
#include "shell/TerminationSignals.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv)
{
    // A second start ends at once and changes nothing in the first.
    SingleInstance instance;
    if (!instance.acquire())
        return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ringvakt"));
    QApplication::setOrganizationName(QStringLiteral("Tornholt"));
    QApplication::setQuitOnLastWindowClosed(false);

    const LineTiming timing = LineTiming::fromEnvironment();
    Libcapi20Api capi(std::chrono::milliseconds(timing.callLimitMs));
    capi.setKeepAlive(
        {timing.keepAliveIdleSeconds, timing.keepAliveIntervalSeconds, timing.keepAliveCount});
    IniSettingsStore settingsStore;
    SdlSoundOutput sound;
    SystemClock clock;
    ProcessRecorderStarter recorder;
    Application ringvakt(
        {capi, settingsStore, sound, clock, recorder, QDir::currentPath(), timing});

    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &ringvakt,
                     [&ringvakt] { ringvakt.command(command::Exit); });

    if (!ringvakt.start())
        return 1;
    return app.exec();
}
