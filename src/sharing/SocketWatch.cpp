#include "sharing/SocketWatch.h"

SocketWatch::SocketWatch(std::function<void()> onReadable, std::function<void()> onWritable,
                         QObject* parent)
    : QObject(parent), m_onReadable(std::move(onReadable)), m_onWritable(std::move(onWritable))
{}

void SocketWatch::follow(int socket, bool wantWrite)
{
    if (socket != m_socket) {
        drop();
        if (socket >= 0) {
            m_read = new QSocketNotifier(socket, QSocketNotifier::Read, this);
            connect(m_read, &QSocketNotifier::activated, this, [this] { m_onReadable(); });
            m_write = new QSocketNotifier(socket, QSocketNotifier::Write, this);
            connect(m_write, &QSocketNotifier::activated, this, [this] { m_onWritable(); });
            m_socket = socket;
        }
    }
    if (m_write)
        m_write->setEnabled(wantWrite);
}

void SocketWatch::drop()
{
    // Disabled at once, deleted later: this may run inside one of their
    // own activations.
    for (QSocketNotifier* notifier : {m_read.data(), m_write.data()}) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }
    m_read = nullptr;
    m_write = nullptr;
    m_socket = -1;
}
