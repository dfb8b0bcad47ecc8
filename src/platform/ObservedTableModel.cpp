#include "platform/ObservedTableModel.h"

void ObservedTableModel::beginInsertRows(int first, int last)
{
    QAbstractTableModel::beginInsertRows({}, first, last);
}

void ObservedTableModel::endInsertRows()
{
    QAbstractTableModel::endInsertRows();
}

void ObservedTableModel::beginRemoveRows(int first, int last)
{
    QAbstractTableModel::beginRemoveRows({}, first, last);
}

void ObservedTableModel::endRemoveRows()
{
    QAbstractTableModel::endRemoveRows();
}

void ObservedTableModel::beginResetRows()
{
    beginResetModel();
}

void ObservedTableModel::endResetRows()
{
    endResetModel();
}

void ObservedTableModel::rowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}
