#pragma once

#include <QByteArray>
#include <QString>

struct ssl_ctx_st;
struct ssl_st;
struct x509_store_ctx_st;

// The TLS side of one connection to the broker: the certificates trusted
// (a CA file, or the system's), the name the broker's certificate must
// carry, and why the certificate was turned down when it was.
//
// libmosquitto checks the certificate against the address it connects to.
// We connect to an address we looked up ourselves (libmosquitto would look
// the name up again with a blocking getaddrinfo()), so the check against
// the name the user gave is OpenSSL's own, set up here; libmosquitto is
// handed this context and adds nothing to it.
class BrokerTls
{
public:
    BrokerTls() = default;
    ~BrokerTls();
    BrokerTls(const BrokerTls&) = delete;
    BrokerTls& operator=(const BrokerTls&) = delete;

    // Sets up the context for a broker known as `brokerName` (a host name
    // or an IP address). False, with the reason in `why`, when the CA file
    // cannot be read or holds no certificate.
    bool prepare(const QString& caFile, const QString& brokerName, QString* why);
    // The context for MOSQ_OPT_SSL_CTX (libmosquitto takes a reference of
    // its own); null before prepare() succeeded.
    ssl_ctx_st* context() const { return m_context; }
    // Why the broker's certificate was turned down in the last handshake:
    // not trusted, or not for the broker's name. Empty when it was not.
    QString refusal() const;

private:
    static int verify(x509_store_ctx_st* store, void* self);
    static void onHandshakeStep(const ssl_st* ssl, int where, int result);

    ssl_ctx_st* m_context = nullptr;
    QByteArray m_name;
    bool m_nameIsAddress = false;
    int m_error = 0;
};
