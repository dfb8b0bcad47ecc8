#include "platform/SignalNotifier.h"

#include <QSocketNotifier>

SignalNotifier::SignalNotifier(std::initializer_list<int> watched, QObject* parent)
    : QObject(parent)
{
    std::string error;
    if (!m_pipe.install(watched, &error)) {
        m_error = QString::fromStdString(error);
        return;
    }
    m_notifier = new QSocketNotifier(m_pipe.fd(), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        while (const int signal = m_pipe.take())
            emit signalled(signal);
    });
}
