#pragma once

#include "platform/ObservedTableModel.h"

class CallLog;

// The call log as a table of five columns: row i is record i of the log,
// column c is field c. The model holds nothing of its own, so a log of
// 100,000 calls costs no more than the log itself.
class CallLogModel : public ObservedTableModel
{
    Q_OBJECT
public:
    explicit CallLogModel(CallLog& log, QObject* parent = nullptr);
    ~CallLogModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    CallLog& m_log;
};
