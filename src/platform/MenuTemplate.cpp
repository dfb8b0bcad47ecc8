#include "platform/MenuTemplate.h"

#include <QAction>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>

namespace menus {

namespace {

QJsonArray loadPopups()
{
    QFile file(QStringLiteral(":/menus/105.json"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("menu resource 105 is missing");
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
    if (doc.isNull())
        qFatal("menu resource 105 is broken");
    return doc.object().value("popups").toArray();
}

} // namespace

QMenu* buildPopup(Popup popup, QWidget* parent)
{
    static const QJsonArray popups = loadPopups();
    const QJsonObject p = popups.at(int(popup)).toObject();
    auto* menu = new QMenu(parent);
    menu->setObjectName(p.value("name").toString());
    for (const QJsonValue& v : p.value("items").toArray()) {
        const QJsonObject o = v.toObject();
        if (o.value("separator").toBool()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(o.value("text").toString());
        action->setData(o.value("id").toInt());
        if (o.contains("checked")) {
            action->setCheckable(true);
            action->setChecked(o.value("checked").toBool());
        }
    }
    return menu;
}

QAction* item(const QMenu* menu, int id)
{
    for (QAction* action : menu->actions()) {
        if (commandId(action) == id)
            return action;
    }
    return nullptr;
}

void setItemText(const QMenu* menu, int id, const QString& text)
{
    if (QAction* a = item(menu, id))
        a->setText(text);
}

void setItemChecked(const QMenu* menu, int id, bool checked)
{
    if (QAction* a = item(menu, id)) {
        a->setCheckable(true);
        a->setChecked(checked);
    }
}

void setItemEnabled(const QMenu* menu, int id, bool enabled)
{
    if (QAction* a = item(menu, id))
        a->setEnabled(enabled);
}

void setDefaultItem(QMenu* menu, int id)
{
    if (QAction* a = item(menu, id)) {
        menu->setDefaultAction(a);
        // Not every style draws the default item in bold; make sure it is.
        for (QAction* other : menu->actions()) {
            QFont f = other->font();
            f.setBold(other == a);
            other->setFont(f);
        }
    }
}

int commandId(const QAction* action)
{
    bool ok = false;
    const int id = action ? action->data().toInt(&ok) : -1;
    return ok ? id : -1;
}

} // namespace menus
