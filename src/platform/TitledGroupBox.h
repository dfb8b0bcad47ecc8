#pragma once

#include <QFontMetrics>
#include <QGroupBox>
#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

namespace dialogbuilder {

// The group box as it was drawn where the templates come from: the title
// sits in a gap of the frame's top line, which runs through the middle of
// the title, so the group's contents may start right under the title.
// Defined here: the builder is its one user, and a unit of its own would
// only cost build time.
class TitledGroupBox : public QGroupBox
{
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QFontMetrics fm(font());
        const QRect titleRect(kTitleIndent, 0, fm.horizontalAdvance(title()) + 2 * kTitlePadding,
                              fm.height());
        // An etched frame of our own: the styles' group frames leave room
        // for a title above them.
        painter.save();
        painter.setClipRegion(QRegion(rect()).subtracted(titleRect));
        qDrawShadeRect(&painter, rect().adjusted(0, fm.height() / 2, 0, 0), palette(), true, 1, 0);
        painter.restore();
        style()->drawItemText(&painter, titleRect.adjusted(kTitlePadding, 0, 0, 0),
                              Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(), title(),
                              QPalette::WindowText);
    }

private:
    static constexpr int kTitleIndent = 6;
    static constexpr int kTitlePadding = 2;
};

} // namespace dialogbuilder
