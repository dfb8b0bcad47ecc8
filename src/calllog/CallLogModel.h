#pragma once

#include "platform/ObservedTableModel.h"

class CallLog;
class CallOutcomes;
struct CallOutcome;

// The call log as a table of six columns: row i is record i of the log,
// column c < 5 is field c, and column 5, "Status", what became of the call
// ("Ubesvart", "Besvart 2:15", "Telefonsvarer 0:40"; empty when that is not
// known). The model holds nothing of its own, so a log of 100,000 calls
// costs no more than the log itself.
class CallLogModel : public ObservedTableModel
{
    Q_OBJECT
public:
    static constexpr int kStatusColumn = 5;

    // Without outcomes the status column stays empty.
    CallLogModel(CallLog& log, const CallOutcomes* outcomes, QObject* parent = nullptr);
    ~CallLogModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The text of the status column for an outcome.
    static QString statusText(const CallOutcome* outcome);

private:
    CallLog& m_log;
    const CallOutcomes* m_outcomes;
};
