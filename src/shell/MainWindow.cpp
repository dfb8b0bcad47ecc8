#include "shell/MainWindow.h"

#include "calllog/CallLogWindow.h"
#include "platform/Icons.h"
#include "platform/MenuTemplate.h"
#include "shell/CommandIds.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

MainWindow::MainWindow()
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint)
{
    setWindowTitle(tr("Ringvakt - Liste over de siste innringerene"));
    setWindowIcon(icons::icon(101));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void MainWindow::setCallLogWindow(CallLogWindow* callLog)
{
    m_callLog = callLog;
    layout()->addWidget(callLog);
    connect(callLog, &CallLogWindow::closeRequested, this, &MainWindow::dismiss);
    adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect d = screen->geometry();
        const QSize size = frameGeometry().size();
        move(d.x() + d.width() / 2 - size.width() / 2, d.y() + d.height() / 2 - size.height() / 2);
    }
}

void MainWindow::setTrayPresent(bool present, QMenu* trayMenu)
{
    m_trayPresent = present;
    if (!present && !m_menuBar) {
        m_menuBar = new QMenuBar(this);
        static_cast<QVBoxLayout*>(layout())->setMenuBar(m_menuBar);
        trayMenu->setTitle(QStringLiteral("Ringvakt"));
        m_menuBar->addMenu(trayMenu);
        // What the call log's and the phone book's windows offer, where a
        // user looks for it first.
        QMenu* file = m_menuBar->addMenu(tr("Fil"));
        const std::pair<int, const char*> items[] = {
            {command::ImportContacts, QT_TR_NOOP("Importer kontakter…")},
            {command::ExportPhoneBook, QT_TR_NOOP("Eksporter katalogen…")},
            {command::ExportCalls, QT_TR_NOOP("Eksporter samtaleloggen…")}};
        for (const auto& [id, text] : items) {
            QAction* action = file->addAction(tr(text));
            connect(action, &QAction::triggered, this, [this, id = id] { emit commandChosen(id); });
        }
    }
    if (m_menuBar)
        m_menuBar->setVisible(!present);
    adjustSize();
}

void MainWindow::showMainWindow()
{
    showNormal();
    raise();
    activateWindow();
}

void MainWindow::dismiss()
{
    if (m_trayPresent)
        hide();
    else
        showMinimized();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The close button does what "Lukk" does; only "Avslutt" ends the
    // program.
    event->ignore();
    dismiss();
}
