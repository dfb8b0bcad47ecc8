#pragma once

#include "phonebook/PhoneBookServices.h"

#include <QObject>
#include <QPointer>

class PhoneBookEditor;
class PhoneBookWindow;

// Keeps the one phone book window and the one entry editor, and opens them:
// from the tray ("Katalog"), from the window's own buttons, and in one step
// for a caller's number from the call log or the call popup.
//
// At most one phone book window exists, shown or as the hidden host of a
// one-step add, and at most one editor, always over that window's list.
class PhoneBookDialogs : public QObject
{
    Q_OBJECT
public:
    explicit PhoneBookDialogs(const PhoneBookServices& services, QObject* parent = nullptr);
    ~PhoneBookDialogs() override;

    // The tray command: runs the phone book window modally and returns when
    // it has closed. While a window exists it is only brought to the front
    // (its editor too, when one is open). `importFirst` (the menu bar's
    // "Importer kontakter…"): the window opens with its import.
    void OpenPhoneBookWindow(bool importFirst = false);

    // Opens the editor on a new entry holding the number (at most 99
    // characters), names empty, and returns when the editor has closed.
    // Without a phone book window the list lives in a hidden window made for
    // this and destroyed afterwards. With a window open (and no editor) the
    // new row goes into that window's list, and goes again on Cancel. With an
    // editor open, that editor is brought to the front and nothing is added.
    void AddNumberToPhoneBook(const QString& number);

    // Runs the editor over the window's list and returns its result: 1 when
    // it ended with OK (the call log is then reloaded), 0 otherwise, and -1
    // without opening anything when an editor is already open.
    int RunPhoneBookEditor(PhoneBookWindow& window);

    // The phone book window (shown or hidden host), or nullptr; for tests to
    // drive it.
    PhoneBookWindow* phoneBookWindow() const;
    // The open editor, or nullptr.
    PhoneBookEditor* editor() const;
    bool editorOpen() const { return !m_editor.isNull(); }

    const PhoneBookServices& services() const { return m_services; }

private:
    void bringToFront();

    PhoneBookServices m_services;
    QPointer<PhoneBookWindow> m_window;
    QPointer<PhoneBookEditor> m_editor;
};
