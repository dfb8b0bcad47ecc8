#include "platform/FirstSelectedRow.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

int FirstSelectedRow(const QAbstractItemView* list)
{
    const QItemSelectionModel* selection = list ? list->selectionModel() : nullptr;
    if (!selection)
        return -1;
    int first = -1;
    for (const QModelIndex& index : selection->selectedRows()) {
        if (first < 0 || index.row() < first)
            first = index.row();
    }
    return first;
}
