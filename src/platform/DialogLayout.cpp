#include "platform/DialogLayout.h"

#include "platform/DialogBuilder.h"
#include "platform/Icons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

namespace dialogbuilder {

namespace {

const char* const kUnitsProperty = "ringvaktDialogUnitSize";

// The size of a dialog unit in pixels: x a quarter of the average character
// width, y an eighth of the character height.
struct Units
{
    qreal x;
    qreal y;
};

Units fontUnits(const QWidget* host)
{
    const QFontMetricsF fm(host->font());
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return {qMax<qreal>(0.25, fm.horizontalAdvance(letters) / 52 / 4),
            qMax<qreal>(0.125, fm.height() / 8)};
}

Units unitsOf(const QWidget* host)
{
    const QVariant stored = host->property(kUnitsProperty);
    if (stored.isValid()) {
        const QPointF u = stored.toPointF();
        return {u.x(), u.y()};
    }
    return fontUnits(host);
}

// Edges are rounded, not sizes, so that controls that touch in the template
// still touch.
QRect toPixels(const Units& u, const QRect& du)
{
    const int left = qRound(du.x() * u.x);
    const int top = qRound(du.y() * u.y);
    const int right = qRound((du.x() + du.width()) * u.x);
    const int bottom = qRound((du.y() + du.height()) * u.y);
    return QRect(left, top, right - left, bottom - top);
}

int widestLine(const QFontMetrics& fm, const QString& text)
{
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = qMax(widest, fm.horizontalAdvance(line));
    return widest;
}

// The pixels a control needs to show its text whole; an empty size for a
// control whose size does not depend on a text.
QSize needed(const QWidget* w)
{
    const QFontMetrics fm(w->font());
    const QStyle* style = w->style();
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->text().isEmpty())
            return {};
        const int frame = 2 * label->frameWidth();
        const int lines = int(label->text().count(QLatin1Char('\n'))) + 1;
        return {widestLine(fm, label->text()) + frame + 1, lines * fm.height() + frame};
    }
    if (const auto* box = qobject_cast<const QCheckBox*>(w)) {
        const int indicator = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w);
        const int spacing = style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
        return {indicator + spacing + fm.horizontalAdvance(box->text()) + 4, fm.height()};
    }
    if (const auto* radio = qobject_cast<const QRadioButton*>(w)) {
        const int indicator = style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, w);
        const int spacing = style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, w);
        return {indicator + spacing + fm.horizontalAdvance(radio->text()) + 4, fm.height()};
    }
    if (const auto* button = qobject_cast<const QPushButton*>(w)) {
        if (button->text().isEmpty())
            return {};
        const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w) +
                           style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
        return {fm.horizontalAdvance(button->text()) + 2 * margin, fm.height() + 4};
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(w))
        return {fm.horizontalAdvance(group->title()) + 16, fm.height()};
    if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
        // Room for the frame, the text margins and the cursor.
        const int chrome = 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w) + 8;
        const int width = edit->property(kFitTextProperty).toBool()
                              ? fm.horizontalAdvance(edit->text()) + chrome
                              : 0;
        return {width, fm.height() + chrome / 2};
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
        // The choice shown, with the frame and the arrow beside it.
        const int arrow = style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, w);
        return {fm.horizontalAdvance(combo->currentText()) + arrow + 16, fm.height() + 6};
    }
    if (const auto* view = qobject_cast<const QTreeView*>(w)) {
        const QString cell = view->property(kFitCellProperty).toString();
        if (cell.isEmpty() || !view->model())
            return {};
        const int columns = view->model()->columnCount();
        const int scrollBar = style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, w);
        const int cellMargin =
            2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, w) + 4);
        return {columns * (fm.horizontalAdvance(cell) + cellMargin) + scrollBar +
                    2 * view->frameWidth(),
                0};
    }
    return {};
}

void layOut(QWidget* host, const Units& u)
{
    host->setProperty(kUnitsProperty, QPointF(u.x, u.y));
    for (QWidget* w : templateControls(host)) {
        const QRect px = toPixels(u, w->property(kRectProperty).toRect());
        w->setGeometry(px);
        const int icon = w->property(kIconProperty).toInt();
        if (auto* label = qobject_cast<QLabel*>(w); label && icon > 0) {
            const int side = qMax(8, qMin(px.width(), px.height()) - 2 * label->frameWidth());
            label->setPixmap(icons::pixmap(icon, side));
        } else if (auto* button = qobject_cast<QPushButton*>(w); button && icon > 0) {
            const int side = qMax(8, px.height() - 6);
            button->setIconSize(QSize(side, side));
        }
    }
    host->setFixedSize(
        toPixels(u, QRect(QPoint(0, 0), host->property(kSizeProperty).toSize())).size());
}

} // namespace

QList<QWidget*> templateControls(const QWidget* host)
{
    QList<QWidget*> controls;
    for (QObject* child : host->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && w->property(kRectProperty).isValid())
            controls << w;
    }
    return controls;
}

void layOutForFont(QWidget* host)
{
    layOut(host, fontUnits(host));
}

QRect toPixels(const QWidget* host, const QRect& du)
{
    return toPixels(unitsOf(host), du);
}

void fit(QWidget* host)
{
    Units u = fontUnits(host);
    const QList<QWidget*> controls = templateControls(host);
    for (QWidget* w : controls) {
        const QRect du = w->property(kRectProperty).toRect();
        const QSize px = needed(w);
        // One pixel to spare against the rounding of the edges.
        if (px.width() > 0 && du.width() > 0)
            u.x = qMax(u.x, (px.width() + 1.0) / du.width());
        if (px.height() > 0 && du.height() > 0)
            u.y = qMax(u.y, (px.height() + 1.0) / du.height());
    }
    // What a group holds starts below the group's title.
    for (QWidget* w : controls) {
        const auto* box = qobject_cast<const QGroupBox*>(w);
        if (!box)
            continue;
        const QRect boxDu = box->property(kRectProperty).toRect();
        const int title = QFontMetrics(box->font()).height() + 1;
        for (QWidget* inside : controls) {
            const QRect du = inside->property(kRectProperty).toRect();
            const int below = du.y() - boxDu.y();
            if (inside != w && boxDu.contains(du) && below > 0)
                u.y = qMax(u.y, (title + 1.0) / below);
        }
    }
    layOut(host, u);
}

} // namespace dialogbuilder
