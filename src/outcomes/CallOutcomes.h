#pragma once

#include "outcomes/CallOutcome.h"
#include "outcomes/OutcomeFile.h"
#include "platform/ListObserver.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class CallLog;

// What became of the calls of the call log, row by row, kept in
// "CallStatus.dat" beside "CallID.dat" (OutcomeFile.h). It follows the log's
// rows as their companion: a row deleted or cleared takes its outcome along,
// and a log read anew from its file finds its outcomes again by their rows'
// fields. Every change that is worth keeping is saved at once; a file that
// is missing or damaged gives calls without outcomes.
class CallOutcomes : public QObject, private ListObserver
{
    Q_OBJECT
public:
    explicit CallOutcomes(CallLog& log, QObject* parent = nullptr);
    ~CallOutcomes() override;

    QString filePath() const;
    // Where the reports go (a damaged file, a failed save); standard error
    // by default.
    void setReport(std::function<void(const QString&)> report);

    // Reads the file and ties its outcomes to the rows of the log (loaded
    // before). A damaged or unreadable file is said once and read as none.
    void load();
    // Writes the file; false (said once until a save succeeds) when it could
    // not be written. The outcomes stay in memory.
    bool save();

    // The outcome of a row; none for a call without one.
    const CallOutcome* at(int row) const;

    // Starts to follow the call of a row: its outcome as it is now. The
    // handle finds the row again as rows come and go.
    quint64 follow(int row, CallOutcome outcome);
    // The row followed under a handle; -1 when it has gone.
    int rowOf(quint64 handle) const;
    // The row of a shared call's id; -1 when none has it.
    int rowOfCallId(const QString& callId) const;
    // Gives a row its outcome, saved at once when it is worth keeping.
    void set(int row, CallOutcome outcome);

    // Missed calls not yet seen in the call log, and the last of them (its
    // row, or -1).
    int unseenMissed() const;
    int lastUnseenMissed() const;
    // The user has seen the call log: no missed call is new any more.
    void markSeen();

signals:
    // The outcome of a row changed.
    void outcomeChanged(int row);
    // The missed calls not yet seen changed.
    void missedChanged();

private:
    struct Followed
    {
        CallOutcome outcome;
        quint64 handle = 0;
    };

    void beginInsertRows(int first, int last) override;
    void endInsertRows() override;
    void beginRemoveRows(int first, int last) override;
    void endRemoveRows() override;
    void beginResetRows() override;
    void endResetRows() override;
    void rowChanged(int) override {}
    void report(const QString& text) const { m_report(text); }

    CallLog& m_log;
    // One place a row of the log; empty for a call without an outcome.
    std::vector<std::unique_ptr<Followed>> m_rows;
    quint64 m_nextHandle = 1;
    // The rows being inserted or removed between begin and end.
    int m_first = 0;
    int m_last = -1;
    // While the log is built anew: the outcomes with their rows' fields, and
    // their handles.
    std::vector<outcomefile::Entry> m_resetting;
    std::vector<quint64> m_resettingHandles;
    std::function<void(const QString&)> m_report;
    bool m_saveFailed = false;
};
