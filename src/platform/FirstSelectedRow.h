#pragma once

class QAbstractItemView;

// The index of the first selected row of a list, or -1 when none is.
int FirstSelectedRow(const QAbstractItemView* list);
