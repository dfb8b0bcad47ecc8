#pragma once

#include "platform/DialogTemplate.h"

#include <QString>
#include <QWidget>

class QButtonGroup;
class QRadioButton;

// Turns a dialog template into widgets on a host widget. Rectangles in
// dialog units become pixels from the metrics of the host's font the way
// dialog units always were defined: a horizontal unit is a quarter of the
// average character width, a vertical unit an eighth of the character
// height. Every control with an id can then be found by that id.
namespace dialogbuilder {

// Creates the template's controls on the host and fixes the host's size to
// the template's. Controls are created in template order, which is also the
// tab order.
void build(QWidget* host, const DialogTemplate& t);

// The pixel rectangle of a rectangle in dialog units, for the host's font.
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
