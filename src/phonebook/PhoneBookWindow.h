#pragma once

#include "phonebook/PhoneBook.h"

#include <QDialog>
#include <functional>
#include <memory>

class PhoneBookDialogs;
class PhoneBookModel;
class QMenu;
class QPushButton;
class QTreeView;
struct PhoneBookServices;

// "Ringvakt - Katalog": the whole phone book as a list in surname order,
// with "Slett alt", "Legg til", "Endre", "Slett" and "Lukk". The list is
// loaded from "PhoneBk.dat" when the window is made and lives as long as the
// window; every change is saved at once. Escape does not close the window,
// and while the entry editor is open neither "Lukk" nor the title-bar close
// does.
class PhoneBookWindow : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 109;

    explicit PhoneBookWindow(PhoneBookDialogs& dialogs);
    ~PhoneBookWindow() override;

    PhoneBookList& list() { return m_list; }
    const PhoneBookList& list() const { return m_list; }
    QTreeView* view() const { return m_view; }
    // "PhoneBook" (over a row) and "PhoneBook2" (below the rows).
    QMenu* rowMenu() const { return m_rowMenu; }
    QMenu* emptyMenu() const { return m_emptyMenu; }

    // Runs a command by its control or menu id: 1022, 1023, 1024, 1025,
    // 1026, 1027, 1028, 40018, 40020, 40022, 40030, 40031.
    void command(int id);
    // The import's command ("Importer kontakter…").
    static constexpr int kImportCommand = 40030;

    // Imports the contacts of the file: reads and plans it on a worker
    // while a progress dialog ("Avbryt") shows how far it has come, shows
    // what the import would do, and on "Importer" adds the new entries in
    // one save, or none. True when entries were added; false too when it was
    // cancelled or the program ended meanwhile.
    bool importContactsFrom(const QString& path);

    // Sets every row's icon from the files in "sound/".
    void RefreshSoundIcons();

    // Adds a row that is not saved (a number on its way into the book) and
    // selects it; returns its place.
    int addSelectedRow(PhoneBookEntry entry);
    // Removes such a row again if it is still there, unsaved, near `hint`.
    void removeUnsavedRow(const PhoneBookEntry& entry, int hint);
    // No row selected (nor current), and "Endre" and "Slett" off: after
    // every change of the rows, so that nothing acts on a neighbour of the
    // row that was meant.
    void clearSelection();

    // Saves the list as `change` makes it, and makes the change to the list
    // only when that save succeeded: the file and the list never part. On
    // failure the user is told in a message box owned by `messageOwner` (the
    // window where the change was made) and false is returned.
    bool saveChange(const std::function<void(PhoneBookList&)>& change, QWidget* messageOwner);

    // Escape: the window stays open.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // The menu from the keyboard too.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void openEditor();
    void clearAll();
    void deleteSelected();
    void importContacts();
    void exportPhoneBook();
    void updateButtons();
    void purgeSounds();

    PhoneBookDialogs& m_dialogs;
    const PhoneBookServices& m_services;
    PhoneBookList m_list;
    PhoneBookFileState m_loadState = PhoneBookFileState::Missing;
    // Declared after the list it observes, so that it goes first.
    std::unique_ptr<PhoneBookModel> m_model;
    QTreeView* m_view = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QMenu* m_rowMenu = nullptr;
    QMenu* m_emptyMenu = nullptr;
};
