#include "FakeNotificationServer.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <cstdio>

// A notification service for tests in another process: on the bus of
// DBUS_SESSION_BUS_ADDRESS, recording every Notify as a line in the file
// given as the only argument; prints "ready" once it holds the name.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    test::FakeNotificationServer server(QDBusConnection::sessionBus(),
                                        QString::fromLocal8Bit(argv[1]));
    if (!server.isRegistered())
        return 1;
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}
