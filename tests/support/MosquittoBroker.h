#pragma once

#include <QByteArray>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace test {

// A mosquitto broker for one test: on a free port of 127.0.0.1, with a
// configuration file, its log and (when asked) its persistence in a
// temporary directory of its own; ended with the test. Never the system's
// broker. The clients mosquitto_sub and mosquitto_pub are run against it
// as processes, while Qt's event loop goes on.
class MosquittoBroker
{
public:
    struct Options
    {
        // Keep sessions and queued messages across stop() and restart().
        bool persistence = false;
        // When set, only these users (name, password) are let in.
        QMap<QString, QString> users;
        // When set, the text of the broker's ACL file.
        QByteArray acl;
        // TLS only, with a certificate for "localhost" (not for its
        // address) made for the test (caFile() is what a client trusts).
        bool tls = false;
    };

    MosquittoBroker();
    ~MosquittoBroker();
    MosquittoBroker(const MosquittoBroker&) = delete;
    MosquittoBroker& operator=(const MosquittoBroker&) = delete;

    // Writes the configuration, starts the broker and waits (up to 10 s)
    // until it accepts connections. Fails the test and returns false when
    // it does not come up.
    bool start(const Options& options);
    bool start() { return start(Options()); }
    // The same broker again, on the same port.
    bool restart();
    // SIGTERM and the wait for its end (a persistent broker saves then).
    void stop();
    bool isRunning() const;

    quint16 port() const { return m_port; }
    QString caFile() const;
    QString log() const;

    // Runs mosquitto_sub with these arguments (host and port are added)
    // until it has received `count` messages; each printed as
    // "<retain flag> <topic> <payload>". Fails the test when fewer came
    // within the timeout.
    QStringList subscribe(const QStringList& arguments, int count, int timeoutMs = 10000) const;
    // Runs a client (mosquitto_pub, mosquitto_sub) with these arguments and
    // the broker's host and port, `input` on its standard input; true when
    // it ended with exit code 0.
    bool run(const QString& program, const QStringList& arguments, QByteArray* output = nullptr,
             int timeoutMs = 10000, const QByteArray& input = {}) const;
    // mosquitto_pub of one message at QoS 1 (more arguments: a login).
    bool publish(const QString& topic, const QByteArray& payload, bool retain = false,
                 const QStringList& more = {}) const;
    // mosquitto_pub of many messages at QoS 1 from one connection, one a
    // line, as fast as the broker takes them.
    bool publishLines(const QString& topic, const QByteArrayList& payloads) const;

private:
    bool launch();
    bool makeCertificate();
    bool waitUntilServing();

    std::unique_ptr<QTemporaryDir> m_dir;
    QProcess m_process;
    Options m_options;
    quint16 m_port = 0;
};

} // namespace test
