#include "support/MosquittoBroker.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace test {

namespace {

constexpr int kBrokerStartTimeoutMs = 10000;
constexpr int kStopTimeoutMs = 10000;
constexpr int kBrokerPollIntervalMs = 10;
constexpr int kPortTries = 5;

// A port of 127.0.0.1 that nothing listens on right now: the kernel's
// choice for port 0, given back at once. Another process could take it
// before the broker does; start() then tries another.
quint16 freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    quint16 port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

bool accepts(quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

QString brokerProgram()
{
    const QString found = QStandardPaths::findExecutable("mosquitto", {"/usr/sbin", "/sbin"});
    return found.isEmpty() ? QStandardPaths::findExecutable("mosquitto") : found;
}

// Started as root, mosquitto changes to the user "mosquitto", who could not
// use our temporary directory; as anybody else the setting is not used.
QString userName()
{
    const passwd* entry = ::getpwuid(::geteuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QStringLiteral("root");
}

} // namespace

MosquittoBroker::MosquittoBroker()
{
    // A broker must not outlive a test that crashed.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

MosquittoBroker::~MosquittoBroker()
{
    stop();
}

bool MosquittoBroker::start(const Options& options)
{
    stop();
    m_options = options;
    m_dir = std::make_unique<QTemporaryDir>();
    if (!m_dir->isValid()) {
        ADD_FAILURE() << "cannot create a folder for the broker";
        return false;
    }
    for (auto user = options.users.begin(); user != options.users.end(); ++user) {
        QStringList arguments{"-b", m_dir->filePath("passwd"), user.key(), user.value()};
        if (user == options.users.begin())
            arguments.prepend("-c");
        QProcess passwd;
        passwd.start("mosquitto_passwd", arguments);
        if (!passwd.waitForFinished(kBrokerStartTimeoutMs) || passwd.exitCode() != 0) {
            ADD_FAILURE() << "mosquitto_passwd failed";
            return false;
        }
    }
    if (!options.acl.isEmpty()) {
        QFile acl(m_dir->filePath("acl"));
        if (!acl.open(QIODevice::WriteOnly) || acl.write(options.acl) != options.acl.size()) {
            ADD_FAILURE() << "cannot write the broker's ACL";
            return false;
        }
    }
    if (options.tls && !makeCertificate())
        return false;
    for (int attempt = 0; attempt < kPortTries; ++attempt) {
        m_port = freePort();
        if (m_port != 0 && launch())
            return true;
    }
    ADD_FAILURE() << "the broker did not come up:\n" << log().toStdString();
    return false;
}

bool MosquittoBroker::restart()
{
    stop();
    if (launch())
        return true;
    ADD_FAILURE() << "the broker did not come up again:\n" << log().toStdString();
    return false;
}

bool MosquittoBroker::launch()
{
    QByteArray config = "listener " + QByteArray::number(m_port) + " 127.0.0.1\n";
    config += "user " + userName().toLocal8Bit() + "\n";
    config += "log_dest file " + QFile::encodeName(m_dir->filePath("mosquitto.log")) + "\n";
    config += "log_type all\n";
    if (m_options.users.isEmpty()) {
        config += "allow_anonymous true\n";
    } else {
        config += "allow_anonymous false\n";
        config += "password_file " + QFile::encodeName(m_dir->filePath("passwd")) + "\n";
    }
    if (!m_options.acl.isEmpty())
        config += "acl_file " + QFile::encodeName(m_dir->filePath("acl")) + "\n";
    if (m_options.tls) {
        config += "certfile " + QFile::encodeName(caFile()) + "\n";
        config += "keyfile " + QFile::encodeName(m_dir->filePath("server.key")) + "\n";
    }
    if (m_options.persistence) {
        config += "persistence true\n";
        config += "persistence_location " + QFile::encodeName(m_dir->path()) + "/\n";
    } else {
        config += "persistence false\n";
    }
    QFile file(m_dir->filePath("mosquitto.conf"));
    if (!file.open(QIODevice::WriteOnly) || file.write(config) != config.size()) {
        ADD_FAILURE() << "cannot write the broker's configuration";
        return false;
    }
    file.close();
    m_process.setStandardOutputFile(m_dir->filePath("mosquitto.out"), QIODevice::Append);
    m_process.setStandardErrorFile(m_dir->filePath("mosquitto.out"), QIODevice::Append);
    m_process.start(brokerProgram(), {"-c", file.fileName()});
    if (!m_process.waitForStarted(kBrokerStartTimeoutMs))
        return false;
    return waitUntilServing();
}

bool MosquittoBroker::waitUntilServing()
{
    const QDeadlineTimer deadline(kBrokerStartTimeoutMs);
    while (!deadline.hasExpired()) {
        if (accepts(m_port))
            return true;
        // Doubles as the polling pause, and notices a broker that ended
        // (its port was taken meanwhile).
        if (m_process.waitForFinished(kBrokerPollIntervalMs) ||
            m_process.state() == QProcess::NotRunning)
            return false;
    }
    stop();
    return false;
}

void MosquittoBroker::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(kStopTimeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(kStopTimeoutMs);
    }
}

QString MosquittoBroker::caFile() const
{
    return m_dir ? m_dir->filePath("server.crt") : QString();
}

bool MosquittoBroker::makeCertificate()
{
    // Self-signed, so that the certificate is its own authority.
    QProcess openssl;
    openssl.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
                              "-subj", "/CN=localhost", "-addext", "subjectAltName=DNS:localhost",
                              "-keyout", m_dir->filePath("server.key"), "-out", caFile()});
    if (!openssl.waitForFinished(kBrokerStartTimeoutMs) ||
        openssl.exitStatus() != QProcess::NormalExit || openssl.exitCode() != 0) {
        ADD_FAILURE() << "openssl could not make a certificate: "
                      << openssl.readAllStandardError().toStdString();
        return false;
    }
    return true;
}

bool MosquittoBroker::isRunning() const
{
    return m_process.state() != QProcess::NotRunning;
}

QString MosquittoBroker::log() const
{
    QString text;
    for (const char* name : {"mosquitto.out", "mosquitto.log"}) {
        QFile file(m_dir ? m_dir->filePath(name) : QString());
        if (file.open(QIODevice::ReadOnly))
            text += QString::fromLocal8Bit(file.readAll());
    }
    return text;
}

bool MosquittoBroker::run(const QString& program, const QStringList& arguments, QByteArray* output,
                          int timeoutMs, const QByteArray& input) const
{
    QProcess client;
    client.setProcessChannelMode(QProcess::SeparateChannels);
    client.start(program,
                 QStringList{"-h", "127.0.0.1", "-p", QString::number(m_port)} + arguments);
    client.write(input);
    client.closeWriteChannel();
    // The event loop goes on meanwhile: the code under test keeps working.
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&client, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&client, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    timeout.start(timeoutMs);
    if (client.state() != QProcess::NotRunning)
        loop.exec();
    if (client.state() != QProcess::NotRunning) {
        client.kill();
        client.waitForFinished(kStopTimeoutMs);
    }
    if (output)
        *output = client.readAllStandardOutput();
    const QByteArray errors = client.readAllStandardError();
    if (!errors.isEmpty())
        ADD_FAILURE() << program.toStdString() << ": " << errors.toStdString();
    return client.exitStatus() == QProcess::NormalExit && client.exitCode() == 0;
}

QStringList MosquittoBroker::subscribe(const QStringList& arguments, int count, int timeoutMs) const
{
    QByteArray output;
    run("mosquitto_sub", QStringList{"-F", "%r %t %p", "-C", QString::number(count)} + arguments,
        &output, timeoutMs);
    QStringList lines = QString::fromUtf8(output).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.size() < count)
        ADD_FAILURE() << "mosquitto_sub received " << lines.size() << " of " << count
                      << " messages";
    return lines;
}

bool MosquittoBroker::publish(const QString& topic, const QByteArray& payload, bool retain,
                              const QStringList& more) const
{
    QStringList arguments{"-q", "1", "-t", topic, "-m", QString::fromUtf8(payload)};
    if (retain)
        arguments << "-r";
    return run("mosquitto_pub", arguments + more);
}

bool MosquittoBroker::publishLines(const QString& topic, const QByteArrayList& payloads) const
{
    return run("mosquitto_pub", {"-q", "1", "-t", topic, "-l"}, nullptr, 60000,
               payloads.join('\n') + '\n');
}

} // namespace test
