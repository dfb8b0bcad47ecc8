#pragma once

#include <QList>

class QWidget;

// Where the controls of a dialog template go, for the builder and fit()
// (DialogBuilder.h) alike. The builder leaves the template on the host and
// its controls as properties; the layout reads them to put every control at
// its rectangle in dialog units, turned into pixels.
namespace dialogbuilder {

// The host's size in dialog units.
inline const char* const kSizeProperty = "ringvaktDialogSize";
// A control's rectangle in dialog units: every control built from the
// template has one.
inline const char* const kRectProperty = "ringvaktDialogRect";
// The icon of a label or an icon button, drawn at the size of the control.
inline const char* const kIconProperty = "ringvaktIcon";
// An edit whose text must fit it whole.
inline const char* const kFitTextProperty = "ringvaktFitText";
// The text that must fit every column of a list.
inline const char* const kFitCellProperty = "ringvaktFitCell";

// The controls built from the template, in template order.
QList<QWidget*> templateControls(const QWidget* host);

// Lays the controls out with dialog units from the host's font.
void layOutForFont(QWidget* host);

} // namespace dialogbuilder
