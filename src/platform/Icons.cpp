#include "platform/Icons.h"

#include <QHash>

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

} // namespace icons
