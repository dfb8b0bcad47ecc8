#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM and SIGINT (logout, kill, Ctrl+C) end the program the normal way:
// the handler only writes a byte to a pipe, and the event loop reads it and
// emits terminationRequested.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};
