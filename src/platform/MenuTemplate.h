#pragma once

#include <QString>

class QAction;
class QMenu;
class QWidget;

// The shared menu (resource 105) and its four pop-ups: 0 "Tray",
// 1 "CallersList", 2 "PhoneBook", 3 "PhoneBook2". Items carry their command
// id as the action's data; the windows set their run-time texts, check
// marks and default items by that id.
namespace menus {

enum Popup
{
    Tray = 0,
    CallersList = 1,
    PhoneBook = 2,
    PhoneBook2 = 3
};

// A new menu holding pop-up `popup` of resource 105 with its template texts.
QMenu* buildPopup(Popup popup, QWidget* parent);

// The item of a menu with the command id, or nullptr.
QAction* item(const QMenu* menu, int commandId);

void setItemText(const QMenu* menu, int commandId, const QString& text);
void setItemChecked(const QMenu* menu, int commandId, bool checked);
void setItemEnabled(const QMenu* menu, int commandId, bool enabled);
// The default item is shown in bold.
void setDefaultItem(QMenu* menu, int commandId);

// The command id of an action of these menus, or -1.
int commandId(const QAction* action);

} // namespace menus
