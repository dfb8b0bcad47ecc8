#pragma once

#include "platform/DialogTemplate.h"

#include <QString>
#include <QWidget>

class QButtonGroup;
class QRadioButton;
class QTreeView;

// Turns a dialog template into widgets on a host widget. Rectangles in
// dialog units become pixels from the metrics of the host's font the way
// dialog units always were defined: a horizontal unit is a quarter of the
// average character width, a vertical unit an eighth of the character
// height. Every control with an id can then be found by that id.
//
// The templates were drawn for a narrow font; with the fonts of a Linux
// desktop (and at any size the user picks) texts would be cut. fit() makes
// the units as large as the texts actually shown need, so the whole dialog
// grows evenly and keeps its layout.
namespace dialogbuilder {

// Creates the template's controls on the host and fixes the host's size to
// the template's. Controls are created in template order, which is also the
// tab order. Radio buttons of one group are one stop in that order, at the
// chosen button, and the arrow keys choose within the group. The texts of
// controls without an id, and the fit texts of lists, are translated in the
// template's context.
void build(QWidget* host, const DialogTemplate& t);

// Lays the controls out again, with units large enough for every text the
// controls hold now (labels, buttons, check boxes, radio buttons, group
// titles, the text of an edit whose template says "fittext", and for a list
// whose template has a "fit" text: that text in every column). A window
// calls it once it has set its run-time texts.
void fit(QWidget* host);

// Gives every edit and list that has no accessible name the text of the
// control just before it in the template (its label, check box or radio
// button), without a trailing colon, and makes a label just before a field
// its buddy (its shortcut and screen readers lead to the field). A window
// calls it once its texts are set.
void tieFieldsToLabels(QWidget* host);

// No row of the list selected, and none current: the view would otherwise
// mark its first row as current when it gets the focus, which looks like a
// selection.
void clearSelection(QTreeView* view);

// The list's columns share the width beside its vertical scroll bar evenly,
// whatever the window's font and whether the bar is shown.
void shareColumns(QTreeView* view);

// The pixel rectangle of a rectangle in dialog units, for the host as it
// is laid out now.
QRect toPixels(const QWidget* host, const QRect& dialogUnits);

// The control with the given id, or nullptr.
QWidget* control(const QWidget* host, int id);

template <class T> T* control(const QWidget* host, int id)
{
    return qobject_cast<T*>(control(host, id));
}

// The group that a radio button was put into (consecutive radio buttons
// from one that starts a group up to the next that does).
QButtonGroup* radioGroup(const QRadioButton* button);

// Leaves no button of the radio button's group selected.
void clearRadioGroup(const QRadioButton* button);

} // namespace dialogbuilder
