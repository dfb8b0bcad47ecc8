#include "calllog/CallLogWindow.h"

#include "calllog/CallLog.h"
#include "calllog/CallLogModel.h"
#include "phonebook/PhoneBook.h"
#include "platform/Cp1252.h"
#include "platform/DialogBuilder.h"
#include "platform/FirstSelectedRow.h"
#include "platform/MenuTemplate.h"
#include "platform/MessageBoxes.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeView>

namespace {
constexpr int kClearList = 1008;
constexpr int kClose = 1009;
constexpr int kAddButton = 1068;
constexpr int kDeleteButton = 1069;
constexpr int kAddMenu = 40015;
constexpr int kDeleteMenu = 40016;
constexpr int kMaxNumberLength = 99;
} // namespace

CallLogWindow::CallLogWindow(CallLog& log, QWidget* parent) : QWidget(parent), m_log(log)
{
    dialogbuilder::build(this, DialogTemplate::load(kTemplateId));
    m_list = dialogbuilder::control<QTreeView>(this, 1034);
    m_clear = dialogbuilder::control<QPushButton>(this, kClearList);
    m_delete = dialogbuilder::control<QPushButton>(this, kDeleteButton);
    m_add = dialogbuilder::control<QPushButton>(this, kAddButton);
    auto* close = dialogbuilder::control<QPushButton>(this, kClose);

    m_model = new CallLogModel(m_log, this);
    m_list->setModel(m_model);
    // Five centred columns sharing the list's client width (the viewport
    // has not been laid out yet, so it is worked out from the frame).
    const int width = (m_list->width() - 2 * m_list->frameWidth()) / 5;
    for (int c = 0; c < 5; ++c)
        m_list->header()->resizeSection(c, width);
    m_list->header()->setDefaultAlignment(Qt::AlignCenter);

    m_clear->setText(QStringLiteral("Slett liste"));
    close->setText(QStringLiteral("Lukk"));
    m_add->setText(QStringLiteral("-> Katalog"));
    m_delete->setText(QStringLiteral("Slett innlegg"));

    m_menu = menus::buildPopup(menus::CallersList, this);
    menus::setItemText(m_menu, kAddMenu, QStringLiteral("-> Katalog"));
    menus::setItemText(m_menu, kDeleteMenu, QStringLiteral("Slett innlegg"));

    connect(m_clear, &QPushButton::clicked, this, [this] { command(kClearList); });
    connect(close, &QPushButton::clicked, this, [this] { command(kClose); });
    connect(m_add, &QPushButton::clicked, this, [this] { command(kAddButton); });
    connect(m_delete, &QPushButton::clicked, this, [this] { command(kDeleteButton); });

    // The buttons follow every change of the selection and every new or
    // changed row; clearing and deleting rows leave them as they are.
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CallLogWindow::updateButtons);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &CallLogWindow::updateButtons);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &CallLogWindow::updateButtons);

    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this, &CallLogWindow::showContextMenu);
}

QString CallLogWindow::selectedNumber(int row) const
{
    if (row < 0 || row >= m_log.size())
        return {};
    return cp1252::toQString(m_log.at(row).callerNumber).left(kMaxNumberLength);
}

bool CallLogWindow::numberInPhoneBook(const QString& number) const
{
    return FindPhoneBookEntry(m_log.dataDir(), cp1252::fromQString(number));
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

void CallLogWindow::showContextMenu(const QPoint& pos)
{
    const QModelIndex hit = m_list->indexAt(pos);
    if (!hit.isValid())
        return;
    // The row under the cursor is selected by the click itself.
    if (FirstSelectedRow(m_list) != hit.row())
        m_list->selectionModel()->select(hit, QItemSelectionModel::ClearAndSelect |
                                                  QItemSelectionModel::Rows);
    menus::setItemEnabled(m_menu, kAddMenu, !numberInPhoneBook(selectedNumber(hit.row())));
    menus::setItemEnabled(m_menu, kDeleteMenu, true);
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
                             QStringLiteral("Vil du virklig slette dette innlegget?")) ==
            msgbox::Answer::No)
            return;
        {
            const QSignalBlocker quiet(m_list->selectionModel());
            ClearCallLog(m_log);
        }
        return;
    case kClose:
        emit closeRequested();
        return;
    case kDeleteButton:
    case kDeleteMenu: {
        const int row = FirstSelectedRow(m_list);
        if (row >= 0) {
            const QSignalBlocker quiet(m_list->selectionModel());
            DeleteCall(m_log, row);
        }
        return;
    }
    case kAddButton:
    case kAddMenu: {
        const int row = FirstSelectedRow(m_list);
        if (row < 0)
            return;
        if (m_addNumber)
            m_addNumber(selectedNumber(row));
        m_add->setEnabled(false);
        m_delete->setEnabled(false);
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
        command(kClose);
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}
