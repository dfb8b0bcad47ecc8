#pragma once

#include <QObject>
#include <QPointer>
#include <QSocketNotifier>
#include <functional>

// Watches one socket from Qt's event loop: for reading always, for writing
// only while there is something to write, so that an idle connection costs
// nothing. It follows the socket when the connection gets a new one.
class SocketWatch : public QObject
{
    Q_OBJECT
public:
    SocketWatch(std::function<void()> onReadable, std::function<void()> onWritable,
                QObject* parent = nullptr);

    // Watches `socket` (-1: none), for writing while `wantWrite`.
    void follow(int socket, bool wantWrite);
    // Watches nothing, from now on; safe inside one of its own activations.
    void drop();

private:
    std::function<void()> m_onReadable;
    std::function<void()> m_onWritable;
    QPointer<QSocketNotifier> m_read;
    QPointer<QSocketNotifier> m_write;
    int m_socket = -1;
};
