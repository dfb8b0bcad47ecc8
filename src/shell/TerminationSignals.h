#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP (logout, kill, Ctrl+C, the terminal it was
// started from closing) end the program the normal way: the handler only
// writes a byte to a pipe, and the event loop reads it and emits
// terminationRequested.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    // While set (the start, before the event loop runs, which may wait on a
    // line that does not answer), a signal ends the process at once with
    // exit code 0: there is nothing yet that the normal way would do.
    static void setEndAtOnce(bool on);

signals:
    void terminationRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};
