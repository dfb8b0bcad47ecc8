#include "support/ExchangeProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace test {

namespace {

constexpr int kStartTimeoutMs = 10000;
constexpr int kReplyTimeoutMs = 10000;
constexpr int kPollIntervalMs = 10;

// A port number from a file the exchange wrote whole (it renames it into
// place); 0 while it is not there.
quint16 readPort(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    bool ok = false;
    const uint port = file.readAll().trimmed().toUInt(&ok);
    return ok && port > 0 && port < 65536 ? quint16(port) : 0;
}

QString sendLine(const QString& path, const QByteArray& line, QString& error)
{
    const QByteArray encodedPath = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (encodedPath.isEmpty() || size_t(encodedPath.size()) >= sizeof address.sun_path) {
        error = "control socket path too long: " + path;
        return {};
    }
    std::memcpy(address.sun_path, encodedPath.constData(), size_t(encodedPath.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = QString("socket: ") + std::strerror(errno);
        return {};
    }
    QByteArray received;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        error = "no exchange answers on " + path + ": " + std::strerror(errno);
    } else {
        const QByteArray out = line + '\n';
        qsizetype done = 0;
        while (done < out.size()) {
            const ssize_t n =
                ::send(fd, out.constData() + done, size_t(out.size() - done), MSG_NOSIGNAL);
            if (n <= 0 && errno != EINTR)
                break;
            done += n > 0 ? n : 0;
        }
        QDeadlineTimer deadline(kReplyTimeoutMs);
        while (!received.contains('\n')) {
            pollfd entry{fd, POLLIN, 0};
            const int ready = ::poll(&entry, 1, int(deadline.remainingTime()));
            if (ready <= 0) {
                if (ready < 0 && errno == EINTR)
                    continue;
                error = "no reply from the exchange on " + path;
                break;
            }
            char chunk[4096];
            const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
            if (n <= 0) {
                if (n < 0 && errno == EINTR)
                    continue;
                if (received.isEmpty())
                    error = "the exchange closed without a reply";
                break;
            }
            received.append(chunk, n);
        }
    }
    ::close(fd);
    const qsizetype newline = received.indexOf('\n');
    return QString::fromLatin1(newline < 0 ? received : received.left(newline));
}

} // namespace

ExchangeProcess::ExchangeProcess(QString program)
    : m_program(program.isEmpty() ? defaultProgram() : std::move(program))
{
    // An exchange must not outlive a test that crashed or was killed: it
    // would serve on, and hold CTest's output pipe open so that CTest waits
    // for it forever.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

ExchangeProcess::~ExchangeProcess()
{
    stop();
}

QString ExchangeProcess::defaultProgram()
{
    return qEnvironmentVariable("RINGVAKT_BUILD_DIR") + "/tools/exchange/ringvakt-exchange";
}

bool ExchangeProcess::start(const Options& options)
{
    stop();
    // A short folder: the control socket's path must fit a sockaddr_un.
    QString base = QDir::tempPath();
    if (base.size() > 60)
        base = "/tmp";
    m_dir = std::make_unique<QTemporaryDir>(base + "/ringvakt-exchange-XXXXXX");
    if (!m_dir->isValid()) {
        ADD_FAILURE() << "cannot create a folder for the exchange";
        return false;
    }
    m_port = 0;
    m_callMonitorPort = 0;
    QStringList arguments = {"serve", "--port", "0", "--port-file", m_dir->filePath("port"),
                             "--control", controlPath(), "--log", logPath(), "--controllers",
                             QString::number(options.controllers), "--listen-info",
                             QString::number(options.listenInfo),
                             // Standard input is our pipe: it closes when
                             // this process ends, however it ends.
                             "--exit-with-stdin"};
    if (options.firstApplId != 0)
        arguments << "--first-appl-id" << QString::number(options.firstApplId);
    if (options.callMonitor)
        arguments << "--callmonitor-port"
                  << "0"
                  << "--callmonitor-port-file" << m_dir->filePath("callmonitor-port");
    arguments << options.extraArguments;
    m_process.setStandardOutputFile(m_dir->filePath("exchange.out"));
    m_process.setStandardErrorFile(m_dir->filePath("exchange.err"));
    m_process.start(m_program, arguments);
    if (!m_process.waitForStarted(kStartTimeoutMs)) {
        ADD_FAILURE() << "cannot start " << m_program.toStdString() << ": "
                      << m_process.errorString().toStdString();
        return false;
    }
    // The port file appears once everything answers (it is written last).
    QDeadlineTimer deadline(kStartTimeoutMs);
    while (!deadline.hasExpired()) {
        m_port = readPort(m_dir->filePath("port"));
        if (m_port != 0)
            break;
        // Doubles as the polling pause, and notices an exchange that ended.
        if (m_process.waitForFinished(kPollIntervalMs) ||
            m_process.state() == QProcess::NotRunning) {
            ADD_FAILURE() << "the exchange ended at start with exit code " << m_process.exitCode();
            return false;
        }
    }
    if (m_port == 0) {
        ADD_FAILURE() << "the exchange wrote no port file within " << kStartTimeoutMs << " ms";
        return false;
    }
    if (options.callMonitor)
        m_callMonitorPort = readPort(m_dir->filePath("callmonitor-port"));
    return true;
}

int ExchangeProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return -1;
    QString error;
    sendLine(controlPath(), "quit", error);
    int exitCode = -1;
    if (m_process.waitForFinished(5000)) {
        if (m_process.exitStatus() == QProcess::NormalExit)
            exitCode = m_process.exitCode();
    } else {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    // The exchange writes nothing to standard error unless something went
    // wrong in it (a sanitizer report, a failed write): that is a fault.
    const QString errors = errorOutput();
    if (!errors.isEmpty())
        ADD_FAILURE() << "the exchange wrote to standard error:\n" << errors.toStdString();
    if (exitCode != 0)
        ADD_FAILURE() << "the exchange ended with exit code " << exitCode;
    return exitCode;
}

QString ExchangeProcess::errorOutput() const
{
    QFile file(m_dir ? m_dir->filePath("exchange.err") : QString());
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}

bool ExchangeProcess::isRunning() const
{
    return m_process.state() != QProcess::NotRunning;
}

QString ExchangeProcess::directory() const
{
    return m_dir ? m_dir->path() : QString();
}

QString ExchangeProcess::controlPath() const
{
    return m_dir ? m_dir->filePath("control.sock") : QString();
}

QString ExchangeProcess::logPath() const
{
    return m_dir ? m_dir->filePath("exchange.log") : QString();
}

QStringList ExchangeProcess::logLines() const
{
    QFile file(logPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromLatin1(file.readAll()).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool ExchangeProcess::writeCapiRc(const QString& homeDir) const
{
    QProcess writer;
    writer.setProcessChannelMode(QProcess::ForwardedChannels);
    writer.start(m_program, {"write-capirc", "--home", homeDir, "--port", QString::number(m_port)});
    if (!writer.waitForFinished(kStartTimeoutMs) || writer.exitStatus() != QProcess::NormalExit ||
        writer.exitCode() != 0) {
        ADD_FAILURE() << "write-capirc failed for " << homeDir.toStdString();
        return false;
    }
    return true;
}

QByteArray ExchangeProcess::escapeToken(const QByteArray& bytes)
{
    static const char digits[] = "0123456789abcdef";
    QByteArray out;
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            out += "\\\\";
        } else if (c <= 0x20 || c >= 0x7f) {
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 0x0f];
        } else {
            out += char(c);
        }
    }
    return out;
}

QString ExchangeProcess::send(const QByteArray& line)
{
    QString error;
    const QString reply = sendLine(controlPath(), line, error);
    if (!error.isEmpty())
        ADD_FAILURE() << error.toStdString();
    return reply;
}

QString ExchangeProcess::ring(const QByteArray& from, const QByteArray& to, int cip)
{
    return send("ring from=" + escapeToken(from) + " to=" + escapeToken(to) +
                " cip=" + QByteArray::number(cip));
}

QString ExchangeProcess::ringOn(const QByteArray& trigger, const QByteArray& from,
                                const QByteArray& to)
{
    return send("ring from=" + escapeToken(from) + " to=" + escapeToken(to) + " when=" + trigger);
}

QString ExchangeProcess::ringAnonymous(const QByteArray& to, int cip)
{
    return send("ring to=" + escapeToken(to) + " cip=" + QByteArray::number(cip));
}

QString ExchangeProcess::raw(const QString& hex)
{
    return send("raw hex=" + hex.toLatin1().replace(' ', ""));
}

QString ExchangeProcess::rawBytes(const QString& hex)
{
    return send("raw-bytes hex=" + hex.toLatin1().replace(' ', ""));
}

QString ExchangeProcess::drop()
{
    return send("drop");
}

QString ExchangeProcess::refuse(double seconds)
{
    return send("refuse seconds=" + QByteArray::number(seconds, 'f', 3));
}

QString ExchangeProcess::silent(bool on)
{
    return send(on ? "silent on" : "silent off");
}

QString ExchangeProcess::mute(bool on)
{
    return send(on ? "mute on" : "mute off");
}

QString ExchangeProcess::cmRaw(const QByteArray& text)
{
    return send("cm-raw text=" + escapeToken(text));
}

QString ExchangeProcess::cmDrop()
{
    return send("cm-drop");
}

QString ExchangeProcess::status()
{
    return send("status");
}

QString ExchangeProcess::command(const QString& line)
{
    return send(line.toLatin1());
}

QString ExchangeProcess::waitForLog(const QRegularExpression& pattern, int timeoutMs) const
{
    const QString line =
        waitForLog([&pattern](const QString& l) { return pattern.match(l).hasMatch(); }, timeoutMs);
    if (line.isEmpty())
        ADD_FAILURE() << "  (waited for " << pattern.pattern().toStdString() << ")";
    return line;
}

QString ExchangeProcess::waitForLog(const std::function<bool(const QString&)>& predicate,
                                    int timeoutMs) const
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const QStringList lines = logLines();
        for (const QString& line : lines) {
            if (predicate(line))
                return line;
        }
        if (deadline.hasExpired()) {
            ADD_FAILURE() << "no matching line in the exchange log after " << timeoutMs
                          << " ms; the log:\n"
                          << lines.join('\n').toStdString();
            return {};
        }
        ::usleep(kPollIntervalMs * 1000);
    }
}

bool ExchangeProcess::waitForLogCount(const QRegularExpression& pattern, int count,
                                      int timeoutMs) const
{
    QDeadlineTimer deadline(timeoutMs);
    while (countLog(pattern) < count) {
        if (deadline.hasExpired()) {
            ADD_FAILURE() << "fewer than " << count << " lines match "
                          << pattern.pattern().toStdString() << " after " << timeoutMs
                          << " ms; the log:\n"
                          << logLines().join('\n').toStdString();
            return false;
        }
        ::usleep(kPollIntervalMs * 1000);
    }
    return true;
}

int ExchangeProcess::countLog(const QRegularExpression& pattern) const
{
    int count = 0;
    for (const QString& line : logLines())
        count += pattern.match(line).hasMatch() ? 1 : 0;
    return count;
}

} // namespace test
