#include "platform/TitledGroupBox.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

namespace dialogbuilder {

void TitledGroupBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFontMetrics fm(font());
    const QRect titleRect(kTitleIndent, 0, fm.horizontalAdvance(title()) + 2 * kTitlePadding,
                          fm.height());
    // An etched frame of our own: the styles' group frames leave room for a
    // title above them.
    painter.save();
    painter.setClipRegion(QRegion(rect()).subtracted(titleRect));
    qDrawShadeRect(&painter, rect().adjusted(0, fm.height() / 2, 0, 0), palette(), true, 1, 0);
    painter.restore();
    style()->drawItemText(&painter, titleRect.adjusted(kTitlePadding, 0, 0, 0),
                          Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(), title(),
                          QPalette::WindowText);
}

} // namespace dialogbuilder
