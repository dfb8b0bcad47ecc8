#include "sharing/BrokerTls.h"

#include <QFile>
#include <QHostAddress>
#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>
#include <openssl/x509v3.h>

BrokerTls::~BrokerTls()
{
    SSL_CTX_free(m_context);
}

bool BrokerTls::prepare(const QString& caFile, const QString& brokerName, QString* why)
{
    SSL_CTX_free(m_context);
    m_context = nullptr;
    m_error = X509_V_OK;
    m_name = brokerName.toUtf8();
    m_nameIsAddress = !QHostAddress(brokerName).isNull();

    SSL_CTX* context = SSL_CTX_new(TLS_client_method());
    if (!context) {
        *why = QStringLiteral("TLS cannot be set up");
        return false;
    }
    SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION);
    SSL_CTX_set_options(context, SSL_OP_NO_COMPRESSION);
    if (caFile.isEmpty()) {
        SSL_CTX_set_default_verify_paths(context);
    } else {
        // Opened here first, so that a missing or unreadable file is told
        // apart from one that holds no certificate.
        QFile file(caFile);
        if (!file.open(QIODevice::ReadOnly)) {
            *why =
                QStringLiteral("the CA file %1 cannot be read: %2").arg(caFile, file.errorString());
            SSL_CTX_free(context);
            return false;
        }
        file.close();
        const QByteArray path = QFile::encodeName(caFile);
        if (SSL_CTX_load_verify_locations(context, path.constData(), nullptr) != 1) {
            *why = QStringLiteral("the CA file %1 cannot be read: it holds no certificate in PEM "
                                  "form")
                       .arg(caFile);
            SSL_CTX_free(context);
            return false;
        }
    }

    X509_VERIFY_PARAM* param = SSL_CTX_get0_param(context);
    if (m_nameIsAddress) {
        X509_VERIFY_PARAM_set1_ip_asc(param, m_name.constData());
    } else {
        X509_VERIFY_PARAM_set_hostflags(param, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
        X509_VERIFY_PARAM_set1_host(param, m_name.constData(), size_t(m_name.size()));
    }
    SSL_CTX_set_verify(context, SSL_VERIFY_PEER, nullptr);
    SSL_CTX_set_cert_verify_callback(context, &BrokerTls::verify, this);
    SSL_CTX_set_app_data(context, this);
    SSL_CTX_set_info_callback(context, &BrokerTls::onHandshakeStep);
    m_context = context;
    return true;
}

QString BrokerTls::refusal() const
{
    if (m_error == X509_V_OK)
        return {};
    if (m_error == X509_V_ERR_HOSTNAME_MISMATCH || m_error == X509_V_ERR_IP_ADDRESS_MISMATCH)
        return QStringLiteral("the broker's certificate is not for %1")
            .arg(QString::fromUtf8(m_name));
    return QStringLiteral("the broker's certificate is not trusted: %1")
        .arg(QString::fromUtf8(X509_verify_cert_error_string(m_error)));
}

int BrokerTls::verify(X509_STORE_CTX* store, void* self)
{
    // OpenSSL's own check of the chain and the name; only its verdict is
    // kept, to say afterwards what was wrong.
    const int ok = X509_verify_cert(store);
    static_cast<BrokerTls*>(self)->m_error = ok > 0 ? X509_V_OK : X509_STORE_CTX_get_error(store);
    return ok;
}

void BrokerTls::onHandshakeStep(const SSL* ssl, int where, int)
{
    // libmosquitto names the server (SNI) by the address it connects to; a
    // broker behind a proxy that routes by name needs the name itself. The
    // hello that carries it is written right after this step.
    if (!(where & SSL_CB_HANDSHAKE_START))
        return;
    const auto* self = static_cast<const BrokerTls*>(SSL_CTX_get_app_data(SSL_get_SSL_CTX(ssl)));
    if (self && !self->m_nameIsAddress)
        SSL_set_tlsext_host_name(const_cast<SSL*>(ssl), self->m_name.constData());
}
