#pragma once

#include "platform/ListObserver.h"

#include <QAbstractTableModel>

// A table model over a list that lives in the core (the call log, the phone
// book): the list tells it of every change through ListObserver, and this
// passes each on to the views in the begin/end pairs Qt's models use. The
// subclasses only say what the cells hold.
class ObservedTableModel : public QAbstractTableModel, protected ListObserver
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

protected:
    void beginInsertRows(int first, int last) override;
    void endInsertRows() override;
    void beginRemoveRows(int first, int last) override;
    void endRemoveRows() override;
    void beginResetRows() override;
    void endResetRows() override;
    void rowChanged(int row) override;
};
