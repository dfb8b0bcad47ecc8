#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into the Qt signal quitRequested, delivered in
// the event loop (through a self-pipe), so that the driver can release its
// CAPI registration before it ends.
class QuitSignals : public QObject
{
    Q_OBJECT

public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

    // False when the pipe or the handlers could not be set up.
    bool isValid() const { return m_notifier != nullptr; }

signals:
    void quitRequested(int signalNumber);

private:
    void readPipe();

    QSocketNotifier* m_notifier = nullptr;
};
