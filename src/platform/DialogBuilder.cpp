#include "platform/DialogBuilder.h"

#include "platform/Cp1252Validator.h"
#include "platform/DialogLayout.h"
#include "platform/Icons.h"
#include "platform/RadioGroupKeys.h"
#include "platform/TitledGroupBox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
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

QWidget* makeStatic(const ControlTemplate& c, QWidget* host)
{
    auto* label = new QLabel(c.text, host);
    label->setWordWrap(true);
    Qt::Alignment align = Qt::AlignTop;
    if (c.has("center"))
        align |= Qt::AlignHCenter;
    else
        align |= c.has("right") ? Qt::AlignRight : Qt::AlignLeft;
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

QString translated(const DialogTemplate& t, const QString& text)
{
    return QCoreApplication::translate(t.context.toUtf8().constData(), text.toUtf8().constData());
}

// The control as it is shown: a control without an id keeps its template
// text, in the language of the windows (the template's context). Every
// other text is a placeholder that the window replaces by id. A list's fit
// text is a text the list shows, so it is measured in that language too.
ControlTemplate asShown(const DialogTemplate& t, const ControlTemplate& c)
{
    ControlTemplate shown = c;
    if (t.context.isEmpty())
        return shown;
    if (c.id < 0 && !c.text.isEmpty())
        shown.text = translated(t, c.text);
    if (!c.fit.isEmpty())
        shown.fit = translated(t, c.fit);
    return shown;
}

} // namespace

void build(QWidget* host, const DialogTemplate& t)
{
    host->setProperty(kSizeProperty, t.size);
    QButtonGroup* group = nullptr;
    RadioGroupKeys* keys = nullptr;
    for (const ControlTemplate& tc : t.controls) {
        const ControlTemplate c = asShown(t, tc);
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
    layOutForFont(host);
}

void tieFieldsToLabels(QWidget* host)
{
    QString label;
    QLabel* before = nullptr;
    for (QWidget* w : templateControls(host)) {
        const bool field = qobject_cast<QLineEdit*>(w) || qobject_cast<QTreeView*>(w) ||
                           qobject_cast<QComboBox*>(w);
        if (field && w->accessibleName().isEmpty() && !label.isEmpty())
            w->setAccessibleName(label);
        if (field && before)
            before->setBuddy(w);
        label.clear();
        before = qobject_cast<QLabel*>(w);
        if (before)
            label = before->text();
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
