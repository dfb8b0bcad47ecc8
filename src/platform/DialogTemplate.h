#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

// A dialog as the resources describe it: the controls with their ids, kinds,
// rectangles in dialog units, styles and template texts. The windows build
// themselves from these (DialogBuilder) and then set their run-time texts.
struct ControlTemplate
{
    int id = -1;  // -1: a control without an id (icons, fixed texts)
    QString kind; // static, icon, edit, button, defbutton, iconbutton,
                  // checkbox, radio, groupbox, listview, combobox
    QRect rect;   // dialog units
    QStringList style;
    QString text;
    int icon = 0; // icon resource for icon and iconbutton controls
    // A list view: a cell text that every column must show whole.
    QString fit;

    bool has(const char* s) const { return style.contains(QLatin1String(s)); }
};

struct DialogTemplate
{
    int id = 0;
    QString text; // the template's caption
    // The translation context of the texts the template shows as it has
    // them: those of its controls without an id (a window gives every
    // control it can find by id a text of its own), and the fit texts of its
    // lists. It is the context of the window's own texts, the name of its
    // class.
    QString context;
    QSize size; // dialog units
    QString fontFamily;
    int fontPointSize = 8;
    QStringList style;
    std::vector<ControlTemplate> controls;

    bool has(const char* s) const { return style.contains(QLatin1String(s)); }
    const ControlTemplate* control(int id) const;

    // Loads ":/dialogs/<id>.json". A template that is missing or broken is a
    // fault of the build, so it aborts with a message.
    static DialogTemplate load(int id);
};
