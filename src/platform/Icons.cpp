#include "platform/Icons.h"

#include <QHash>
#include <QPainter>

namespace icons {

QIcon icon(int id)
{
    // Rendering an SVG is not free; the tray and the lists ask often.
    static QHash<int, QIcon> cache;
    auto it = cache.find(id);
    if (it == cache.end())
        it = cache.insert(id, QIcon(QStringLiteral(":/icons/%1.svg").arg(id)));
    return *it;
}

QPixmap pixmap(int id, int size)
{
    return icon(id).pixmap(size, size);
}

QIcon markedIcon(int id)
{
    static QHash<int, QIcon> cache;
    auto it = cache.find(id);
    if (it != cache.end())
        return *it;
    QIcon marked;
    // Drawn at the sizes trays ask for, so that the mark stays round and
    // sharp in each.
    for (const int size : {16, 22, 24, 32, 48, 64}) {
        QPixmap picture = pixmap(id, size);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal diameter = size * 0.5;
        const QRectF dot(size - diameter, 0, diameter, diameter);
        painter.setPen(QPen(Qt::white, qMax<qreal>(1, size / 16.0)));
        painter.setBrush(QColor(0xd0, 0x10, 0x10));
        painter.drawEllipse(dot.adjusted(0.5, 0.5, -0.5, -0.5));
        painter.end();
        marked.addPixmap(picture);
    }
    return *cache.insert(id, marked);
}

} // namespace icons
