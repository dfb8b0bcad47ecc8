#pragma once

#include <QAbstractItemView>
#include <QKeyEvent>

// A list's menu from the keyboard: the Menu key, or Shift+F10 as desktops
// have it (Qt turns neither into a context menu request by itself here).
namespace keyboardmenu {

inline bool isMenuKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Menu ||
           (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
}

// Where the menu opens, in the list's viewport: over its current row, or at
// its top when none is current.
inline QPoint menuPoint(const QAbstractItemView* list)
{
    const QModelIndex current = list->currentIndex();
    if (current.isValid())
        return list->visualRect(current).center();
    return QPoint(list->viewport()->width() / 2, 0);
}

} // namespace keyboardmenu
