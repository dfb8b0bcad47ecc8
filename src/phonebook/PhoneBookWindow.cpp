#include "phonebook/PhoneBookWindow.h"

#include "calllog/CallLog.h"
#include "contacts/ContactTransfer.h"
#include "contacts/PhoneBookVCard.h"
#include "phonebook/ImportProgressDialog.h"
#include "phonebook/PhoneBookDialogs.h"
#include "phonebook/PhoneBookExport.h"
#include "phonebook/PhoneBookModel.h"
#include "phonebook/PhoneBookSoundIcons.h"
#include "platform/Cp1252.h"
#include "platform/DialogBuilder.h"
#include "platform/FileChoice.h"
#include "platform/FirstSelectedRow.h"
#include "platform/KeyboardMenu.h"
#include "platform/MenuTemplate.h"
#include "platform/MessageBoxes.h"
#include "settings/Settings.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDir>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>

namespace {

constexpr int kList = 1020;
constexpr int kClose = 1022;
constexpr int kClearAll = 1023;
constexpr int kAdd = 1024;
constexpr int kEdit = 1025;
constexpr int kDelete = 1026;
constexpr int kImport = 1027;
constexpr int kExport = 1028;
constexpr int kEditMenu = 40018;
constexpr int kDeleteMenu = 40020;
constexpr int kAddMenu = 40022;
constexpr int kImportMenu = 40030;
constexpr int kExportMenu = 40031;
constexpr int kSmallIcon = 16;

const char* const kCaption = "Ringvakt";

QString saveFailedText()
{
    return PhoneBookWindow::tr(
        "Katalogen kunne ikke lagres i PhoneBk.dat. Endringen er ikke gjort.");
}

QString unreadableText()
{
    return PhoneBookWindow::tr("PhoneBk.dat kunne ikke leses. Katalogen lagres ikke, "
                               "så filen ikke blir overskrevet. Endringen er ikke gjort.");
}

} // namespace

PhoneBookWindow::PhoneBookWindow(PhoneBookDialogs& dialogs)
    : QDialog(dialogs.services().owner, Qt::Dialog | Qt::WindowTitleHint |
                                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_dialogs(dialogs), m_services(dialogs.services())
{
    dialogbuilder::build(this, DialogTemplate::load(kTemplateId));
    setWindowTitle(tr("Ringvakt - Katalog"));

    m_rowMenu = menus::buildPopup(menus::PhoneBook, this);
    m_emptyMenu = menus::buildPopup(menus::PhoneBook2, this);
    menus::setItemText(m_rowMenu, kEditMenu, tr("Endre"));
    menus::setItemText(m_rowMenu, kDeleteMenu, tr("Slett"));
    menus::setItemText(m_emptyMenu, kAddMenu, tr("Legg til"));
    for (QMenu* menu : {m_rowMenu, m_emptyMenu}) {
        menus::setItemText(menu, kImportMenu, tr("Importer kontakter…"));
        menus::setItemText(menu, kExportMenu, tr("Eksporter katalogen…"));
    }

    const std::pair<int, const char*> buttons[] = {
        {kClearAll, QT_TR_NOOP("Slett alt")}, {kImport, QT_TR_NOOP("Importer…")},
        {kExport, QT_TR_NOOP("Eksporter…")},  {kClose, QT_TR_NOOP("Lukk")},
        {kAdd, QT_TR_NOOP("Legg til")},       {kEdit, QT_TR_NOOP("Endre")},
        {kDelete, QT_TR_NOOP("Slett")}};
    for (const auto& [id, text] : buttons) {
        auto* button = dialogbuilder::control<QPushButton>(this, id);
        button->setText(tr(text));
        connect(button, &QPushButton::clicked, this, [this, id = id] { command(id); });
    }
    m_edit = dialogbuilder::control<QPushButton>(this, kEdit);
    m_delete = dialogbuilder::control<QPushButton>(this, kDelete);

    menus::setDefaultItem(m_rowMenu, kEditMenu);
    menus::setDefaultItem(m_emptyMenu, kAddMenu);

    m_view = dialogbuilder::control<QTreeView>(this, kList);
    m_model = std::make_unique<PhoneBookModel>(m_list);
    m_view->setModel(m_model.get());
    // Three centred columns sharing the list's width beside its scroll bar.
    dialogbuilder::shareColumns(m_view);
    m_view->header()->setDefaultAlignment(Qt::AlignCenter);
    m_view->setAccessibleName(tr("Katalog"));
    dialogbuilder::fit(this);
    m_view->setIconSize(QSize(kSmallIcon, kSmallIcon));
    m_loadState = LoadPhoneBook(m_list, m_services.dataDir);
    RefreshSoundIcons();

    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PhoneBookWindow::updateButtons);
    connect(m_model.get(), &QAbstractItemModel::rowsRemoved, this, &PhoneBookWindow::updateButtons);
    connect(m_model.get(), &QAbstractItemModel::modelReset, this, &PhoneBookWindow::clearSelection);
    // Nothing looks selected when the window opens.
    clearSelection();
    connect(m_view, &QAbstractItemView::doubleClicked, this, &PhoneBookWindow::openEditor);

    // The template places the window at the top-left corner of the main
    // window's client area.
    if (QWidget* owner = m_services.owner)
        move(owner->mapToGlobal(QPoint(0, 0)));
}

PhoneBookWindow::~PhoneBookWindow() = default;

void PhoneBookWindow::command(int id)
{
    switch (id) {
    case kClose:
        if (!m_dialogs.editorOpen())
            done(1);
        return;
    case kClearAll:
        clearAll();
        return;
    case kAdd:
    case kEdit:
    case kEditMenu:
    case kAddMenu:
        openEditor();
        return;
    case kDelete:
    case kDeleteMenu:
        deleteSelected();
        return;
    case kImport:
    case kImportMenu:
        importContacts();
        return;
    case kExport:
    case kExportMenu:
        exportPhoneBook();
        return;
    default:
        return;
    }
}

void PhoneBookWindow::RefreshSoundIcons()
{
    ::RefreshSoundIcons(m_list, m_services.dataDir);
}

int PhoneBookWindow::addSelectedRow(PhoneBookEntry entry)
{
    const int row = m_list.insertSorted(std::move(entry));
    m_view->selectionModel()->setCurrentIndex(
        m_model->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return row;
}

void PhoneBookWindow::removeUnsavedRow(const PhoneBookEntry& entry, int hint)
{
    if (hint >= 0 && hint < m_list.size() && m_list.at(hint) == entry) {
        m_list.removeAt(hint);
        return;
    }
    for (int row = 0; row < m_list.size(); ++row) {
        if (m_list.at(row) == entry) {
            m_list.removeAt(row);
            return;
        }
    }
}

bool PhoneBookWindow::saveChange(const std::function<void(PhoneBookList&)>& change,
                                 QWidget* messageOwner)
{
    // A file that is there but could not be read still holds the book: a
    // save now would replace it by what little this window shows.
    if (m_loadState == PhoneBookFileState::Unreadable) {
        msgbox::inform(messageOwner, QString::fromLatin1(kCaption), unreadableText());
        return false;
    }
    PhoneBookList changed = m_list;
    changed.setObserver(nullptr);
    change(changed);
    if (!SavePhoneBook(changed, m_services.dataDir)) {
        msgbox::inform(messageOwner, QString::fromLatin1(kCaption), saveFailedText());
        return false;
    }
    change(m_list);
    return true;
}

void PhoneBookWindow::reject()
{
    // Escape: the phone book stays open; only "Lukk" and the title-bar close
    // end it.
}

void PhoneBookWindow::closeEvent(QCloseEvent* event)
{
    if (m_dialogs.editorOpen()) {
        event->ignore();
        return;
    }
    event->accept();
    done(1);
}

void PhoneBookWindow::keyPressEvent(QKeyEvent* event)
{
    if (!keyboardmenu::isMenuKey(event)) {
        QDialog::keyPressEvent(event);
        return;
    }
    const QPoint inList = keyboardmenu::menuPoint(m_view);
    const QPoint global = m_view->viewport()->mapToGlobal(inList);
    QContextMenuEvent request(QContextMenuEvent::Keyboard, mapFromGlobal(global), global);
    contextMenuEvent(&request);
}

void PhoneBookWindow::contextMenuEvent(QContextMenuEvent* event)
{
    // Whichever control the request comes from: over a row the row's menu,
    // anywhere else the menu to add an entry.
    const QPoint inList = m_view->viewport()->mapFromGlobal(event->globalPos());
    QModelIndex hit;
    if (m_view->viewport()->rect().contains(inList))
        hit = m_view->indexAt(inList);
    QMenu* menu = m_emptyMenu;
    if (hit.isValid()) {
        if (FirstSelectedRow(m_view) != hit.row())
            m_view->selectionModel()->select(hit, QItemSelectionModel::ClearAndSelect |
                                                      QItemSelectionModel::Rows);
        menu = m_rowMenu;
    } else {
        // "Legg til" below the rows adds: the editor must not find an old
        // selection and open that entry to be overwritten.
        clearSelection();
    }
    event->accept();
    if (QAction* chosen = menu->exec(event->globalPos()))
        command(menus::commandId(chosen));
}

void PhoneBookWindow::openEditor()
{
    // The editor decides from the selection whether it adds or changes.
    if (m_dialogs.RunPhoneBookEditor(*this) == 1)
        clearSelection();
    RefreshSoundIcons();
}

void PhoneBookWindow::clearSelection()
{
    dialogbuilder::clearSelection(m_view);
    updateButtons();
}

void PhoneBookWindow::clearAll()
{
    if (m_list.size() == 0)
        return;
    if (msgbox::question(this, QString::fromLatin1(kCaption),
                         tr("Vil du virklig slette alle innleggene?")) == msgbox::Answer::No)
        return;
    if (!saveChange([](PhoneBookList& list) { list.clear(); }, this))
        return;
    clearSelection();
    purgeSounds();
    ReloadCallLog(m_services.callLog);
}

void PhoneBookWindow::deleteSelected()
{
    // Without a selected row there is nothing to ask about: "Slett" is
    // disabled then, and its menu is offered only over a row.
    const int row = FirstSelectedRow(m_view);
    if (row < 0)
        return;
    // The question names the entry, so that nobody deletes one they did not
    // mean.
    const PhoneBookEntry& entry = m_list.at(row);
    const QString which =
        QStringLiteral("%1 %2, %3")
            .arg(cp1252::toQString(entry.firstName), cp1252::toQString(entry.surname),
                 cp1252::toQString(entry.number))
            .trimmed();
    if (msgbox::question(this, QString::fromLatin1(kCaption),
                         tr("Vil du virklig slette dette innlegget?"), which) == msgbox::Answer::No)
        return;
    if (!saveChange([row](PhoneBookList& list) { list.removeAt(row); }, this))
        return;
    clearSelection();
    ReloadCallLog(m_services.callLog);
    purgeSounds();
    RefreshSoundIcons();
}

void PhoneBookWindow::updateButtons()
{
    const bool selected = FirstSelectedRow(m_view) >= 0;
    m_edit->setEnabled(selected);
    m_delete->setEnabled(selected);
}

void PhoneBookWindow::purgeSounds()
{
    PurgeOrphanSounds(m_services.dataDir, m_services.settings.IntroFile,
                      m_services.settings.OutroFile);
}

void PhoneBookWindow::importContacts()
{
    // While the editor is open its entry is not saved yet: an import now
    // would be checked against a book that is about to change.
    if (m_dialogs.editorOpen())
        return;
    const QString path =
        filechoice::openFile(this, tr("Importer kontakter"),
                             tr("Kontakter (*.vcf *.vcard *.xml *.csv *.txt);;Alle filer (*)"));
    if (!path.isEmpty())
        importContactsFrom(path);
}

bool PhoneBookWindow::importContactsFrom(const QString& path)
{
    const QString caption = QString::fromLatin1(kCaption);
    if (m_loadState == PhoneBookFileState::Unreadable) {
        msgbox::inform(this, caption, unreadableText());
        return false;
    }
    const std::optional<ImportOutcome> planned =
        planImportShowingProgress(this, path, entriesOf(m_list), m_services.callLog.numbers());
    if (!planned)
        return false;
    const ImportOutcome& outcome = *planned;
    if (!outcome.read) {
        msgbox::inform(this, caption,
                       tr("Kontaktene i %1 kan ikke importeres.\n%2")
                           .arg(QDir::toNativeSeparators(path), outcome.message));
        return false;
    }
    const QString summary = importSummary(outcome.plan);
    if (outcome.plan.added.empty()) {
        msgbox::inform(this, caption, tr("Ingen nye oppføringer å importere (%1).").arg(summary));
        return false;
    }
    // What the import will do, before anything is saved.
    if (msgbox::question(this, caption, summary, QDir::toNativeSeparators(path), tr("Importer"),
                         tr("Avbryt")) == msgbox::Answer::No)
        return false;
    if (!saveChange([&outcome](PhoneBookList& list) { addImported(list, outcome.plan); }, this))
        return false;
    clearSelection();
    purgeSounds();
    ReloadCallLog(m_services.callLog);
    RefreshSoundIcons();
    return true;
}

void PhoneBookWindow::exportPhoneBook()
{
    if (m_loadState == PhoneBookFileState::Unreadable) {
        msgbox::inform(this, QString::fromLatin1(kCaption),
                       tr("PhoneBk.dat kunne ikke leses. Ingenting er eksportert."));
        return;
    }
    // What the window shows is what the file holds: every change is saved
    // at once.
    std::vector<PhoneBookEntry> entries;
    for (int row = 0; row < m_list.size(); ++row)
        entries.push_back(m_list.at(row));
    exportPhoneBookFile(this, entries);
}
