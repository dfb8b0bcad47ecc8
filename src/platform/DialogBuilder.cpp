#include "platform/DialogBuilder.h"

#include "platform/Cp1252Validator.h"
#include "platform/Icons.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTreeView>
#include <qdrawutil.h>

namespace dialogbuilder {

namespace {

const char* const kGroupProperty = "ringvaktRadioGroup";
const char* const kUnitsProperty = "ringvaktDialogUnitSize";
const char* const kSizeProperty = "ringvaktDialogSize";
const char* const kRectProperty = "ringvaktDialogRect";
const char* const kIconProperty = "ringvaktIcon";
const char* const kFitTextProperty = "ringvaktFitText";
const char* const kFitCellProperty = "ringvaktFitCell";

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

// The group box as it was drawn where the templates come from: the title
// sits in a gap of the frame's top line, which runs through the middle of
// the title, so the group's contents may start right under the title.
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

// Radio buttons of one group are one stop of the tab order, at the chosen
// button, and the arrow keys move to the next button and choose it.
class RadioGroupKeys : public QObject
{
public:
    explicit RadioGroupKeys(QButtonGroup* group) : QObject(group), m_group(group)
    {
        connect(group, &QButtonGroup::buttonToggled, this, [this] { updateTabStop(); });
    }

    void add(QAbstractButton* button)
    {
        button->installEventFilter(this);
        updateTabStop();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        int step = 0;
        if (key == Qt::Key_Down || key == Qt::Key_Right)
            step = 1;
        else if (key == Qt::Key_Up || key == Qt::Key_Left)
            step = -1;
        if (step == 0)
            return false;
        const QList<QAbstractButton*> buttons = m_group->buttons();
        const int from = buttons.indexOf(static_cast<QAbstractButton*>(watched));
        for (int i = 1; from >= 0 && i < buttons.size(); ++i) {
            QAbstractButton* next = buttons[(from + step * i + buttons.size()) % buttons.size()];
            if (!next->isEnabled())
                continue;
            next->setFocus(Qt::OtherFocusReason);
            if (!next->isChecked())
                next->click();
            break;
        }
        return true;
    }

private:
    void updateTabStop()
    {
        const QList<QAbstractButton*> buttons = m_group->buttons();
        QAbstractButton* stop = m_group->checkedButton();
        if (!stop && !buttons.isEmpty())
            stop = buttons.first();
        for (QAbstractButton* b : buttons)
            b->setFocusPolicy(b == stop ? Qt::StrongFocus : Qt::ClickFocus);
    }

    QButtonGroup* m_group;
};

QWidget* makeStatic(const ControlTemplate& c, QWidget* host)
{
    auto* label = new QLabel(c.text, host);
    label->setWordWrap(true);
    Qt::Alignment align = Qt::AlignTop;
    align |= c.has("center") ? Qt::AlignHCenter : Qt::AlignLeft;
    label->setAlignment(align);
    if (c.has("sunken"))
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QWidget* makeIcon(const ControlTemplate& c, QWidget* host)
{
    auto* label = new QLabel(host);
    label->setAlignment(Qt::AlignCenter);
    if (c.has("sunken"))
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setProperty(kIconProperty, c.icon);
    return label;
}

QWidget* makeEdit(const ControlTemplate& c, QWidget* host)
{
    auto* edit = new QLineEdit(c.text, host);
    edit->setReadOnly(c.has("readonly"));
    edit->setFrame(c.has("border"));
    if (c.has("number")) {
        // Digits only, typed or pasted: the validator sees pasted text too.
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    } else {
        // Everything typed is stored as code page 1252: refuse what it has not.
        edit->setValidator(new Cp1252Validator(edit));
    }
    edit->setProperty(kFitTextProperty, c.has("fittext"));
    return edit;
}

QWidget* makeListView(const ControlTemplate& c, QWidget* host)
{
    auto* view = new QTreeView(host);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(c.has("singlesel") ? QAbstractItemView::SingleSelection
                                              : QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSortingEnabled(false);
    view->header()->setSectionsClickable(!c.has("nosortheader"));
    view->header()->setSectionsMovable(false);
    view->header()->setStretchLastSection(false);
    if (!c.has("border"))
        view->setFrameShape(QFrame::NoFrame);
    view->setProperty(kFitCellProperty, c.fit);
    return view;
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

// The controls built from the template, in template order.
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

QRect toPixels(const QWidget* host, const QRect& du)
{
    return toPixels(unitsOf(host), du);
}

void build(QWidget* host, const DialogTemplate& t)
{
    host->setProperty(kSizeProperty, t.size);
    QButtonGroup* group = nullptr;
    RadioGroupKeys* keys = nullptr;
    for (const ControlTemplate& c : t.controls) {
        QWidget* w = nullptr;
        if (c.kind == QLatin1String("static")) {
            w = makeStatic(c, host);
        } else if (c.kind == QLatin1String("icon")) {
            w = makeIcon(c, host);
        } else if (c.kind == QLatin1String("edit")) {
            w = makeEdit(c, host);
        } else if (c.kind == QLatin1String("button") || c.kind == QLatin1String("defbutton")) {
            auto* button = new QPushButton(c.text, host);
            button->setAutoDefault(false);
            button->setDefault(c.kind == QLatin1String("defbutton"));
            w = button;
        } else if (c.kind == QLatin1String("iconbutton")) {
            auto* button = new QPushButton(host);
            button->setAutoDefault(false);
            button->setIcon(icons::icon(c.icon));
            button->setProperty(kIconProperty, c.icon);
            w = button;
        } else if (c.kind == QLatin1String("checkbox")) {
            w = new QCheckBox(c.text, host);
        } else if (c.kind == QLatin1String("radio")) {
            // Exclusive within its button group; auto-exclusive too, which
            // is what makes it a radio button, not a check box, to a screen
            // reader.
            auto* radio = new QRadioButton(c.text, host);
            if (c.has("group") || !group) {
                group = new QButtonGroup(host);
                group->setExclusive(true);
                keys = new RadioGroupKeys(group);
            }
            group->addButton(radio, c.id);
            radio->setAutoExclusive(true);
            radio->setProperty(kGroupProperty, QVariant::fromValue<QObject*>(group));
            keys->add(radio);
            w = radio;
        } else if (c.kind == QLatin1String("groupbox")) {
            w = new TitledGroupBox(c.text, host);
        } else if (c.kind == QLatin1String("listview")) {
            w = makeListView(c, host);
        } else if (c.kind == QLatin1String("combobox")) {
            w = new QComboBox(host);
        } else {
            qFatal("dialog %d: unknown control kind %s", t.id, qPrintable(c.kind));
        }
        if (c.kind != QLatin1String("radio"))
            group = nullptr;
        if (c.id >= 0)
            w->setObjectName(QString::number(c.id));
        w->setProperty(kRectProperty, c.rect);
        w->setEnabled(!c.has("disabled"));
        if (!c.has("tabstop") && c.kind != QLatin1String("static") &&
            c.kind != QLatin1String("icon") && c.kind != QLatin1String("groupbox") &&
            c.kind != QLatin1String("radio"))
            w->setFocusPolicy(Qt::ClickFocus);
    }
    layOut(host, fontUnits(host));
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

void nameFieldsAfterLabels(QWidget* host)
{
    QString label;
    for (QWidget* w : templateControls(host)) {
        const bool field = qobject_cast<QLineEdit*>(w) || qobject_cast<QTreeView*>(w) ||
                           qobject_cast<QComboBox*>(w);
        if (field && w->accessibleName().isEmpty() && !label.isEmpty())
            w->setAccessibleName(label);
        label.clear();
        if (const auto* l = qobject_cast<const QLabel*>(w))
            label = l->text();
        else if (const auto* b = qobject_cast<const QAbstractButton*>(w))
            label = b->text();
        label = label.trimmed();
        if (label.endsWith(QLatin1Char(':')))
            label.chop(1);
        label = label.trimmed();
    }
}

void clearSelection(QTreeView* view)
{
    view->selectionModel()->clearSelection();
    view->setCurrentIndex(QModelIndex());
}

void shareColumns(QTreeView* view)
{
    view->header()->setSectionResizeMode(QHeaderView::Stretch);
}

QWidget* control(const QWidget* host, int id)
{
    return host->findChild<QWidget*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

QButtonGroup* radioGroup(const QRadioButton* button)
{
    return qobject_cast<QButtonGroup*>(button->property(kGroupProperty).value<QObject*>());
}

void clearRadioGroup(const QRadioButton* button)
{
    QButtonGroup* group = radioGroup(button);
    if (!group)
        return;
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

} // namespace dialogbuilder
