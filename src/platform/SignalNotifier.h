#pragma once

#include "platform/SignalPipe.h"

#include <QObject>
#include <initializer_list>

class QSocketNotifier;

// The signals of a SignalPipe as a Qt signal, delivered in the event loop.
class SignalNotifier : public QObject
{
    Q_OBJECT
public:
    explicit SignalNotifier(std::initializer_list<int> watched, QObject* parent = nullptr);

    // False when the signals could not be watched; error() says why.
    bool isValid() const { return m_notifier != nullptr; }
    QString error() const { return m_error; }

signals:
    void signalled(int signal);

private:
    SignalPipe m_pipe;
    QSocketNotifier* m_notifier = nullptr;
    QString m_error;
};
