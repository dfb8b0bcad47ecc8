#pragma once

#include "AppFixture.h"
#include "phonebook/PhoneBookDialogs.h"

#include <QTimer>
#include <functional>
#include <string>

class PhoneBookEditor;
class PhoneBookWindow;
class QLineEdit;
class QPushButton;
class QWidget;

namespace test {

// The whole program with the phone book windows wired in exactly as the
// program wires them: the tray's "Katalog" and the one-step add of the call
// log and the popup go to one PhoneBookDialogs owned by the main window.
//
// Modal windows are driven from inside their own event loops: `later` runs
// a step once the loop of the window about to open is running. A watchdog
// ends any modal window still open after a generous deadline, so a failing
// test fails instead of hanging.
class PhoneBookFixture : public AppFixture
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program and wires the phone book windows into it.
    void startWithPhoneBook();

    // Runs `step` as soon as the event loop (of the window that opens next)
    // turns.
    static void later(std::function<void()> step);

    // Opens the phone book window from the tray, runs `inside` in it, then
    // closes it with "Lukk" (if `inside` left it open).
    void withPhoneBookWindow(const std::function<void(PhoneBookWindow&)>& inside);
    // Opens the editor from the phone book window with `trigger` (a button
    // click, a menu command...), runs `inside` in it, and cancels it if
    // `inside` left it open.
    void withEditor(const std::function<void()>& trigger,
                    const std::function<void(PhoneBookEditor&)>& inside);

    PhoneBookWindow* window() const;
    PhoneBookEditor* editor() const;

    static QPushButton* button(const QWidget* dialog, int id);
    static QLineEdit* edit(const QWidget* dialog, int id);
    // The rows of the window's list as "surname|first name|number".
    static QStringList rows(const PhoneBookWindow& window);
    static void selectRow(PhoneBookWindow& window, int row);

    // The call log's name column, row by row.
    QStringList callLogNames() const;

    PhoneBookDialogs* dialogs = nullptr;

private:
    QTimer m_watchdog;
};

} // namespace test
