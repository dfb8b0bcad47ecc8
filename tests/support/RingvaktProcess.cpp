#include "support/RingvaktProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace test {

RingvaktProcess::RingvaktProcess(QString program)
    : m_program(std::move(program)), m_dir(std::make_unique<QTemporaryDir>())
{
    if (m_program.isEmpty())
        m_program = QString::fromLocal8Bit(qgetenv("RINGVAKT_BUILD_DIR")) +
                    QStringLiteral("/src/shell/ringvakt");
    QDir(m_dir->path()).mkpath(QStringLiteral("home/run"));
    QDir(m_dir->path()).mkpath(QStringLiteral("data"));
    QFile::setPermissions(home() + QStringLiteral("/run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

RingvaktProcess::~RingvaktProcess()
{
    if (isRunning()) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QString RingvaktProcess::home() const
{
    return m_dir->path() + QStringLiteral("/home");
}

QString RingvaktProcess::dataDir() const
{
    return m_dir->path() + QStringLiteral("/data");
}

QString RingvaktProcess::dataFile(const QString& name) const
{
    return dataDir() + QLatin1Char('/') + name;
}

QString RingvaktProcess::audioFile() const
{
    return home() + QStringLiteral("/audio.raw");
}

QString RingvaktProcess::settingsFile() const
{
    return home() + QStringLiteral("/.config/Tornholt/Ringvakt.ini");
}

QProcessEnvironment RingvaktProcess::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home() + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home() + QStringLiteral("/.local/share"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home() + QStringLiteral("/run"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("disk"));
    env.insert(QStringLiteral("SDL_DISKAUDIOFILE"), audioFile());
    env.insert(QStringLiteral("RINGVAKT_MESSAGEBOX_LOG"), home() + QStringLiteral("/boxes.log"));
    // The desktop's language, which the windows follow: Norwegian, the texts
    // the tests read, whatever the machine's locale.
    env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("nb"));
    // A sanitizer's report must not pass for the program's own exit code 1.
    env.insert(QStringLiteral("ASAN_OPTIONS"),
               QStringLiteral("detect_leaks=0:halt_on_error=1:exitcode=86"));
    env.insert(QStringLiteral("UBSAN_OPTIONS"),
               QStringLiteral("print_stacktrace=1:halt_on_error=1:exitcode=86"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    for (const QString& name : m_extra.keys())
        env.insert(name, m_extra.value(name));
    return env;
}

void RingvaktProcess::setEnvironmentVariable(const QString& name, const QString& value)
{
    m_extra.insert(name, value);
}

bool RingvaktProcess::start(const QStringList& arguments)
{
    m_process.setProcessEnvironment(environment());
    m_process.setWorkingDirectory(dataDir());
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.start(m_program, arguments);
    const bool started = m_process.waitForStarted(10000);
    EXPECT_TRUE(started) << "cannot start " << m_program.toStdString();
    return started;
}

int RingvaktProcess::runAnother(const QStringList& arguments, int timeoutMs)
{
    QProcess other;
    other.setProcessEnvironment(environment());
    other.setWorkingDirectory(dataDir());
    other.start(m_program, arguments);
    if (!other.waitForFinished(timeoutMs)) {
        other.kill();
        other.waitForFinished();
        return -1;
    }
    return other.exitStatus() == QProcess::NormalExit ? other.exitCode() : -1;
}

RingvaktProcess::Run RingvaktProcess::runOnce(const QStringList& arguments, int timeoutMs)
{
    QProcess once;
    once.setProcessEnvironment(environment());
    once.setWorkingDirectory(dataDir());
    once.start(m_program, arguments);
    Run run;
    if (!once.waitForFinished(timeoutMs)) {
        once.kill();
        once.waitForFinished();
    } else if (once.exitStatus() == QProcess::NormalExit) {
        run.exitCode = once.exitCode();
    }
    run.out = QString::fromLocal8Bit(once.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(once.readAllStandardError());
    return run;
}

bool RingvaktProcess::isRunning() const
{
    return m_process.state() != QProcess::NotRunning;
}

int RingvaktProcess::waitForExit(int timeoutMs)
{
    if (isRunning() && !m_process.waitForFinished(timeoutMs))
        return -1;
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

int RingvaktProcess::terminate(int timeoutMs)
{
    return endWithSignal(SIGTERM, timeoutMs);
}

int RingvaktProcess::endWithSignal(int signal, int timeoutMs)
{
    if (isRunning())
        ::kill(pid_t(m_process.processId()), signal);
    return waitForExit(timeoutMs);
}

QString RingvaktProcess::standardError()
{
    m_stderr += m_process.readAllStandardError();
    return QString::fromLocal8Bit(m_stderr);
}

QString RingvaktProcess::unexpectedErrors()
{
    QStringList lines = standardError().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.removeIf([](const QString& l) {
        return l.startsWith(
                   QLatin1String("CRITICAL: You are using the SDL disk i/o audio driver")) ||
               l.startsWith(QLatin1String("CRITICAL:  Writing to file")) ||
               // Qt's offscreen platform has no tray and cannot raise a
               // window, and says so.
               l.contains(QLatin1String("QPlatformNativeInterface::systemTrayWindowChanged")) ||
               l == QLatin1String("This plugin does not support raise()");
    });
    return lines.join(QLatin1Char('\n'));
}

QStringList RingvaktProcess::messageBoxes() const
{
    QFile log(home() + QStringLiteral("/boxes.log"));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool RingvaktProcess::waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        // QProcess reads the program's output only from the event loop.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    return true;
}

} // namespace test
