#pragma once

#include "platform/ListObserver.h"

#include <QAbstractTableModel>

class CallLog;

// The call log as a table of five columns: row i is record i of the log,
// column c is field c. The model holds nothing of its own, so a log of
// 100,000 calls costs no more than the log itself.
class CallLogModel : public QAbstractTableModel, private ListObserver
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
    void beginInsertRows(int first, int last) override;
    void endInsertRows() override;
    void beginRemoveRows(int first, int last) override;
    void endRemoveRows() override;
    void beginResetRows() override;
    void endResetRows() override;
    void rowChanged(int row) override;

    CallLog& m_log;
};
