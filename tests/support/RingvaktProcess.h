#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace test {

// Runs the real ringvakt program for an end-to-end test: in a temporary
// home (its own .capi20rc, settings file and runtime directory) and data
// directory, on the offscreen platform, with sound going to SDL's disk
// driver and message boxes written to a log instead of waiting for a user.
class RingvaktProcess
{
public:
    // program: empty means $RINGVAKT_BUILD_DIR/src/shell/ringvakt.
    explicit RingvaktProcess(QString program = {});
    ~RingvaktProcess();
    RingvaktProcess(const RingvaktProcess&) = delete;
    RingvaktProcess& operator=(const RingvaktProcess&) = delete;

    QString home() const;
    QString dataDir() const;
    QString dataFile(const QString& name) const;
    QString audioFile() const;
    QString settingsFile() const;

    // Starts the program with the given arguments (in the data directory).
    bool start(const QStringList& arguments = {});
    // Starts one more instance in the same home and data directory and waits
    // for it to end; returns its exit code (-1 when it did not end in time).
    int runAnother(const QStringList& arguments = {}, int timeoutMs = 20000);

    // Runs the program once with these arguments in the same home and data
    // directory and waits for its end: its exit code (-1 when it did not end
    // in time) and what it wrote.
    struct Run
    {
        int exitCode = -1;
        QString out;
        QString err;
    };
    Run runOnce(const QStringList& arguments, int timeoutMs = 20000);

    bool isRunning() const;
    // Waits for the end; returns the exit code, -1 when it did not end.
    int waitForExit(int timeoutMs = 20000);
    // SIGTERM, then the wait; returns the exit code.
    int terminate(int timeoutMs = 20000);
    // The signal, then the wait; returns the exit code.
    int endWithSignal(int signal, int timeoutMs = 20000);

    // What the program wrote to standard error, less the lines that SDL's
    // disk driver always prints.
    QString unexpectedErrors();
    QString standardError();
    // The message boxes the program showed, as "caption<TAB>text".
    QStringList messageBoxes() const;

    // Polls until the predicate holds; false after the deadline.
    static bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 15000);

    QProcessEnvironment environment() const;
    // One more variable for the programs started from now on.
    void setEnvironmentVariable(const QString& name, const QString& value);

private:
    QString m_program;
    std::unique_ptr<QTemporaryDir> m_dir;
    QProcess m_process;
    QByteArray m_stderr;
    QProcessEnvironment m_extra;
};

} // namespace test
