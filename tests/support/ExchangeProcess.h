#pragma once

#include <QByteArray>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace test {

// A line of the exchange's log that says a client asked to listen (the
// program is registered and listening, after its start or a call).
inline const QRegularExpression kListenRequestLine{QStringLiteral(" LISTEN_REQ appl=")};

// Runs ringvakt-exchange, the simulated line, for one test: on a free port,
// with its port file, control socket and log in a temporary directory of
// its own. Commands go over the control socket; the log tells what the
// client sent.
class ExchangeProcess
{
public:
    struct Options
    {
        int controllers = 1;
        int listenInfo = 0;
        bool callMonitor = false;
        int firstApplId = 0; // 0: the exchange claims a block of its own
        QStringList extraArguments;
    };

    // program: the exchange binary; empty means
    // $RINGVAKT_BUILD_DIR/tools/exchange/ringvakt-exchange.
    explicit ExchangeProcess(QString program = {});
    ~ExchangeProcess();
    ExchangeProcess(const ExchangeProcess&) = delete;
    ExchangeProcess& operator=(const ExchangeProcess&) = delete;

    static QString defaultProgram();

    // Starts the exchange and waits (up to 10 s) until it serves. Fails the
    // test and returns false when it does not come up.
    bool start(const Options& options);
    bool start() { return start(Options()); }
    // Sends quit, waits for the end, kills it if it does not end; returns
    // the exit code (-1 when it had to be killed or was not running). Fails
    // the test when the exchange did not end cleanly or wrote to standard
    // error.
    int stop();
    bool isRunning() const;

    quint16 port() const { return m_port; }
    quint16 callMonitorPort() const { return m_callMonitorPort; }
    QString controlPath() const;
    QString logPath() const;
    QString directory() const;
    QStringList logLines() const;
    // What the exchange wrote to standard error.
    QString errorOutput() const;

    // Writes homeDir/.capi20rc pointing libcapi20 at this exchange.
    bool writeCapiRc(const QString& homeDir) const;

    // Control commands; each returns the exchange's reply line.
    QString ring(const QByteArray& from, const QByteArray& to, int cip = 1);
    QString ringAnonymous(const QByteArray& to, int cip = 1);
    // A ring armed to go off when the next CAPI_RELEASE ("release") or
    // LISTEN_REQ ("listen") arrives; logged as RING_ON_RELEASE or
    // RING_ON_LISTEN with its result.
    QString ringOn(const QByteArray& trigger, const QByteArray& from, const QByteArray& to);
    QString raw(const QString& hex);      // one framed CAPI message
    QString rawBytes(const QString& hex); // bytes exactly as given
    QString drop();
    QString refuse(double seconds);
    QString silent(bool on);
    QString mute(bool on);
    QString cmRaw(const QByteArray& text); // bytes exactly as given
    QString cmDrop();
    QString status();
    // Any command line, sent as it is.
    QString command(const QString& line);

    // Polls the log until a line matches; returns it, or fails the test and
    // returns an empty string after timeoutMs.
    QString waitForLog(const QRegularExpression& pattern, int timeoutMs = 10000) const;
    QString waitForLog(const std::function<bool(const QString&)>& predicate,
                       int timeoutMs = 10000) const;
    // Polls the log until at least count lines match.
    bool waitForLogCount(const QRegularExpression& pattern, int count, int timeoutMs = 10000) const;
    int countLog(const QRegularExpression& pattern) const;

    // A value as one token of a control line (C escapes, \x20 for space).
    static QByteArray escapeToken(const QByteArray& bytes);

private:
    QString send(const QByteArray& line);

    QString m_program;
    std::unique_ptr<QTemporaryDir> m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    quint16 m_callMonitorPort = 0;
};

} // namespace test
