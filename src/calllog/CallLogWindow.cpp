#include "calllog/CallLogWindow.h"

#include "calllog/CallLog.h"
#include "calllog/CallLogModel.h"
#include "contacts/CallLogCsv.h"
#include "contacts/ContactTransfer.h"
#include "phonebook/PhoneBook.h"
#include "platform/Cp1252.h"
#include "platform/DialogBuilder.h"
#include "platform/FileChoice.h"
#include "platform/FirstSelectedRow.h"
#include "platform/KeyboardMenu.h"
#include "platform/MenuTemplate.h"
#include "platform/MessageBoxes.h"

#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>

namespace {
constexpr int kClearList = 1008;
constexpr int kLogClose = 1009;
constexpr int kAddButton = 1068;
constexpr int kDeleteButton = 1069;
constexpr int kLogAddMenu = 40015;
constexpr int kLogDeleteMenu = 40016;
constexpr int kLogExportMenu = 40032;
constexpr int kLogExportButton = 1070;
} // namespace

CallLogWindow::CallLogWindow(CallLog& log, QWidget* parent, const CallOutcomes* outcomes)
    : QWidget(parent), m_log(log), m_outcomes(outcomes)
{
    dialogbuilder::build(this, DialogTemplate::load(kTemplateId));
    m_list = dialogbuilder::control<QTreeView>(this, 1034);
    m_clear = dialogbuilder::control<QPushButton>(this, kClearList);
    m_delete = dialogbuilder::control<QPushButton>(this, kDeleteButton);
    m_add = dialogbuilder::control<QPushButton>(this, kAddButton);
    auto* close = dialogbuilder::control<QPushButton>(this, kLogClose);
    auto* exportButton = dialogbuilder::control<QPushButton>(this, kLogExportButton);

    m_model = new CallLogModel(m_log, m_outcomes, this);
    m_list->setModel(m_model);
    // Six centred columns sharing the list's width beside its scroll bar.
    dialogbuilder::shareColumns(m_list);
    m_list->header()->setDefaultAlignment(Qt::AlignCenter);
    m_list->setAccessibleName(tr("Siste innringere"));

    m_clear->setText(tr("Slett liste"));
    close->setText(tr("Lukk"));
    m_add->setText(tr("-> Katalog"));
    m_delete->setText(tr("Slett innlegg"));
    exportButton->setText(tr("Eksporter…"));
    dialogbuilder::fit(this);

    m_menu = menus::buildPopup(menus::CallersList, this);
    menus::setItemText(m_menu, kLogAddMenu, tr("-> Katalog"));
    menus::setItemText(m_menu, kLogDeleteMenu, tr("Slett innlegg"));
    menus::setItemText(m_menu, kLogExportMenu, tr("Eksporter samtaleloggen…"));

    connect(m_clear, &QPushButton::clicked, this, [this] { command(kClearList); });
    connect(close, &QPushButton::clicked, this, [this] { command(kLogClose); });
    connect(m_add, &QPushButton::clicked, this, [this] { command(kAddButton); });
    connect(m_delete, &QPushButton::clicked, this, [this] { command(kDeleteButton); });
    connect(exportButton, &QPushButton::clicked, this, [this] { command(kLogExportMenu); });

    // The buttons follow the selection as it actually is, after every change
    // of the selection and of the rows: they must never act on a row other
    // than the one they were enabled for.
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CallLogWindow::updateButtons);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &CallLogWindow::updateButtons);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &CallLogWindow::updateButtons);
    connect(m_model, &QAbstractItemModel::modelReset, this, &CallLogWindow::clearSelection);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &CallLogWindow::updateButtons);

    // Nothing looks selected when the window opens.
    clearSelection();
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this, &CallLogWindow::showContextMenu);
}

QString CallLogWindow::selectedNumber(int row) const
{
    if (row < 0 || row >= m_log.size())
        return {};
    return cp1252::toQString(m_log.at(row).callerNumber).left(int(kMaxPhoneBookField));
}

bool CallLogWindow::numberInPhoneBook(const QString& number) const
{
    return m_log.phoneBook().find(cp1252::fromQString(number)) != nullptr;
}

void CallLogWindow::updateButtons()
{
    const int row = FirstSelectedRow(m_list);
    if (row < 0) {
        m_add->setEnabled(false);
        m_delete->setEnabled(false);
        return;
    }
    m_add->setEnabled(!numberInPhoneBook(selectedNumber(row)));
    m_delete->setEnabled(true);
}

void CallLogWindow::clearSelection()
{
    dialogbuilder::clearSelection(m_list);
    updateButtons();
}

void CallLogWindow::showContextMenu(const QPoint& pos)
{
    // Over a row the row's commands and the export; below the rows the
    // export alone, with nothing selected for the others to act on.
    const QModelIndex hit = m_list->indexAt(pos);
    if (hit.isValid()) {
        // The row under the cursor is selected by the click itself.
        if (FirstSelectedRow(m_list) != hit.row())
            m_list->selectionModel()->select(hit, QItemSelectionModel::ClearAndSelect |
                                                      QItemSelectionModel::Rows);
    } else {
        clearSelection();
    }
    menus::setItemEnabled(m_menu, kLogAddMenu,
                          hit.isValid() && !numberInPhoneBook(selectedNumber(hit.row())));
    menus::setItemEnabled(m_menu, kLogDeleteMenu, hit.isValid());
    QAction* chosen = m_menu->exec(m_list->viewport()->mapToGlobal(pos));
    if (chosen)
        command(menus::commandId(chosen));
}

void CallLogWindow::command(int id)
{
    switch (id) {
    case kClearList:
        if (m_log.size() == 0)
            return;
        if (msgbox::question(this, QStringLiteral("Ringvakt"),
                             tr("Vil du virklig slette dette innlegget?")) == msgbox::Answer::No)
            return;
        ClearCallLog(m_log);
        clearSelection();
        return;
    case kLogClose:
        emit closeRequested();
        return;
    case kLogExportMenu:
        exportCalls();
        return;
    case kDeleteButton:
    case kLogDeleteMenu: {
        // The view would hand the selection on to the next row, and a
        // second click would delete that one too: nothing stays selected.
        const int row = FirstSelectedRow(m_list);
        if (row >= 0) {
            DeleteCall(m_log, row);
            clearSelection();
        }
        return;
    }
    case kAddButton:
    case kLogAddMenu: {
        const int row = FirstSelectedRow(m_list);
        if (row < 0)
            return;
        if (m_addNumber)
            m_addNumber(selectedNumber(row));
        clearSelection();
        return;
    }
    default:
        return;
    }
}

void CallLogWindow::keyPressEvent(QKeyEvent* event)
{
    // Enter presses the default button, "Lukk"; Escape does nothing: the
    // call log is not a dialog of its own.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        command(kLogClose);
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    if (keyboardmenu::isMenuKey(event)) {
        event->accept();
        showContextMenu(keyboardmenu::menuPoint(m_list));
        return;
    }
    QWidget::keyPressEvent(event);
}

void CallLogWindow::exportCalls()
{
    // The suggested name is the user's to keep or change: in the user's
    // language. What the file holds is the same in every language.
    const QString path = filechoice::saveFile(this, tr("Eksporter samtaleloggen"),
                                              tr("Samtalelogg.csv"), tr("CSV (*.csv)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!writeExportFile(path, callLogToCsv(m_log, m_outcomes), &error)) {
        msgbox::inform(this, QStringLiteral("Ringvakt"), error);
        return;
    }
    msgbox::inform(this, QStringLiteral("Ringvakt"),
                   tr("Samtaleloggen er eksportert til %1.").arg(QDir::toNativeSeparators(path)));
}
