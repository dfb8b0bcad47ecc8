#pragma once

// Lets a view follow a list that lives in the core (the call log, the phone
// book) without the core knowing about Qt's models. The calls come in the
// pairs a QAbstractItemModel needs: begin before the list changes, end after.
class ListObserver
{
public:
    virtual ~ListObserver() = default;

    virtual void beginInsertRows(int first, int last) = 0;
    virtual void endInsertRows() = 0;
    virtual void beginRemoveRows(int first, int last) = 0;
    virtual void endRemoveRows() = 0;
    virtual void beginResetRows() = 0;
    virtual void endResetRows() = 0;
    // One row's fields changed in place (its position did not).
    virtual void rowChanged(int row) = 0;
};
