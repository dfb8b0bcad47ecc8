#include "platform/DialogBuilder.h"

#include "platform/Cp1252Validator.h"
#include "platform/Icons.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTreeView>

namespace dialogbuilder {

namespace {

const char* const kGroupProperty = "ringvaktRadioGroup";

struct BaseUnits
{
    int x;
    int y;
};

BaseUnits baseUnits(const QWidget* host)
{
    const QFontMetrics fm(host->font());
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int average = (fm.horizontalAdvance(letters) / 26 + 1) / 2;
    return {qMax(1, average), qMax(1, fm.height())};
}

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

QWidget* makeIcon(const ControlTemplate& c, QWidget* host, const QRect& px)
{
    auto* label = new QLabel(host);
    const int side = qMax(8, qMin(px.width(), px.height()) - (c.has("sunken") ? 4 : 0));
    label->setPixmap(icons::pixmap(c.icon, side));
    label->setAlignment(Qt::AlignCenter);
    if (c.has("sunken"))
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
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
    return view;
}

} // namespace

QRect toPixels(const QWidget* host, const QRect& du)
{
    const BaseUnits b = baseUnits(host);
    return QRect(du.x() * b.x / 4, du.y() * b.y / 8, du.width() * b.x / 4, du.height() * b.y / 8);
}

void build(QWidget* host, const DialogTemplate& t)
{
    QButtonGroup* group = nullptr;
    for (const ControlTemplate& c : t.controls) {
        const QRect px = toPixels(host, c.rect);
        QWidget* w = nullptr;
        if (c.kind == QLatin1String("static")) {
            w = makeStatic(c, host);
        } else if (c.kind == QLatin1String("icon")) {
            w = makeIcon(c, host, px);
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
            button->setIconSize(QSize(qMax(8, px.height() - 4), qMax(8, px.height() - 4)));
            w = button;
        } else if (c.kind == QLatin1String("checkbox")) {
            w = new QCheckBox(c.text, host);
        } else if (c.kind == QLatin1String("radio")) {
            auto* radio = new QRadioButton(c.text, host);
            radio->setAutoExclusive(false);
            if (c.has("group") || !group) {
                group = new QButtonGroup(host);
                group->setExclusive(true);
            }
            group->addButton(radio, c.id);
            radio->setProperty(kGroupProperty, QVariant::fromValue<QObject*>(group));
            w = radio;
        } else if (c.kind == QLatin1String("groupbox")) {
            w = new QGroupBox(c.text, host);
        } else if (c.kind == QLatin1String("listview")) {
            w = makeListView(c, host);
        } else {
            qFatal("dialog %d: unknown control kind %s", t.id, qPrintable(c.kind));
        }
        if (c.kind != QLatin1String("radio"))
            group = nullptr;
        if (c.id >= 0)
            w->setObjectName(QString::number(c.id));
        w->setGeometry(px);
        w->setEnabled(!c.has("disabled"));
        if (!c.has("tabstop") && c.kind != QLatin1String("static") &&
            c.kind != QLatin1String("icon") && c.kind != QLatin1String("groupbox"))
            w->setFocusPolicy(c.kind == QLatin1String("radio") ? Qt::StrongFocus : Qt::ClickFocus);
    }
    host->setFixedSize(toPixels(host, QRect(QPoint(0, 0), t.size)).size());
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
