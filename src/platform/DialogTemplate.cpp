#include "platform/DialogTemplate.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QStringList toStringList(const QJsonValue& value)
{
    QStringList out;
    for (const QJsonValue& v : value.toArray())
        out << v.toString();
    return out;
}

QRect toRect(const QJsonValue& value)
{
    const QJsonArray a = value.toArray();
    if (a.size() != 4)
        return {};
    return QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt());
}

} // namespace

const ControlTemplate* DialogTemplate::control(int controlId) const
{
    for (const ControlTemplate& c : controls) {
        if (c.id == controlId)
            return &c;
    }
    return nullptr;
}

DialogTemplate DialogTemplate::load(int id)
{
    const QString path = QStringLiteral(":/dialogs/%1.json").arg(id);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("dialog template %s is missing", qPrintable(path));
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (doc.isNull())
        qFatal("dialog template %s: %s", qPrintable(path), qPrintable(error.errorString()));

    const QJsonObject o = doc.object();
    DialogTemplate t;
    t.id = o.value("id").toInt();
    t.text = o.value("text").toString();
    t.context = o.value("context").toString();
    const QJsonArray size = o.value("size").toArray();
    t.size = QSize(size.at(0).toInt(), size.at(1).toInt());
    const QJsonArray font = o.value("font").toArray();
    t.fontFamily = font.at(0).toString();
    t.fontPointSize = font.at(1).toInt(8);
    t.style = toStringList(o.value("style"));
    for (const QJsonValue& cv : o.value("controls").toArray()) {
        const QJsonObject c = cv.toObject();
        ControlTemplate ct;
        ct.id = c.value("id").toInt(-1);
        ct.kind = c.value("kind").toString();
        ct.rect = toRect(c.value("rect"));
        ct.style = toStringList(c.value("style"));
        ct.text = c.value("text").toString();
        ct.icon = c.value("icon").toInt();
        ct.fit = c.value("fit").toString();
        t.controls.push_back(ct);
    }
    return t;
}
