#include "shell/TrayIcon.h"

#include "platform/Icons.h"
#include "platform/MenuTemplate.h"
#include "shell/CommandIds.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

TrayIcon::TrayIcon(QObject* parent)
    : QObject(parent), m_menu(menus::buildPopup(menus::Tray, nullptr)),
      m_tray(new QSystemTrayIcon(this))
{
    m_tray->setToolTip(QStringLiteral("Ringvakt"));
    m_tray->setContextMenu(m_menu);
    connect(m_menu, &QMenu::triggered, this,
            [this](QAction* action) { emit commandChosen(menus::commandId(action)); });
    connect(m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                // A double click shows the call log. Trays that speak
                // StatusNotifierItem often never report a double click, so
                // a single activation does the same.
                if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger)
                    emit showCallLog();
            });
}

TrayIcon::~TrayIcon()
{
    delete m_menu;
}

bool TrayIcon::available()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::SetTrayMode(OperatingMode mode, bool add)
{
    menus::setItemText(m_menu, command::ShowCallLog, tr("Siste Innringere"));
    menus::setItemText(m_menu, command::PhoneBook, tr("Katalog"));
    menus::setItemText(m_menu, command::Settings, tr("Oppsett"));
    menus::setItemText(m_menu, command::About, tr("Om Ringvakt"));
    menus::setItemText(m_menu, command::Exit, tr("Avslutt"));
    menus::setItemText(m_menu, command::Enable, tr("Aktiver Ringvakt"));
    menus::setItemText(m_menu, command::DisableOutput, tr("Slå av Listefunksjon"));
    menus::setItemText(m_menu, command::Disable, tr("Slå av Ringvakt"));
    menus::setDefaultItem(m_menu, command::ShowCallLog);

    switch (mode) {
    case OperatingMode::Enabled:
        m_modeIconId = 101;
        break;
    case OperatingMode::OutputDisabled:
        m_modeIconId = 120;
        break;
    case OperatingMode::Disabled:
        m_modeIconId = 119;
        break;
    }
    menus::setItemChecked(m_menu, command::Enable, mode == OperatingMode::Enabled);
    menus::setItemChecked(m_menu, command::DisableOutput, mode == OperatingMode::OutputDisabled);
    menus::setItemChecked(m_menu, command::Disable, mode == OperatingMode::Disabled);

    refresh();
    if (add)
        m_tray->show();
}

void TrayIcon::setLineLost(bool lost, const QDateTime& since)
{
    m_lineLost = lost;
    m_lostSince = since;
    refresh();
}

void TrayIcon::setLineName(const QString& name)
{
    m_lineName = name;
    refresh();
}

void TrayIcon::showNotice(const QString& text)
{
    // The text is in the language of the windows; whoever sent it has said
    // it on standard error too (where a desktop without a tray can be read),
    // as standard error says everything: the same in every language.
    m_lastNotice = text;
    if (m_tray->isVisible() && QSystemTrayIcon::supportsMessages())
        m_tray->showMessage(QStringLiteral("Ringvakt"), text, icons::icon(101), 15000);
}

void TrayIcon::refresh()
{
    // Without a line the mode's picture carries a broken line (131 for
    // Enabled, 132 for OutputDisabled); Disabled has released the line on
    // purpose and keeps its own picture.
    m_iconId = m_modeIconId;
    if (m_lineLost && m_modeIconId == 101)
        m_iconId = 131;
    else if (m_lineLost && m_modeIconId == 120)
        m_iconId = 132;
    m_tray->setIcon(m_missed > 0 ? icons::markedIcon(m_iconId) : icons::icon(m_iconId));

    QString tip = QStringLiteral("Ringvakt");
    if (!m_lineName.isEmpty())
        tip += QStringLiteral(" - ") + m_lineName;
    if (m_lineLost && m_iconId != m_modeIconId) {
        const QString since = m_lostSince.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
        if (m_lineName.isEmpty())
            tip = m_lostSince.isValid()
                      ? tr("Ringvakt - ingen forbindelse med linja siden %1").arg(since)
                      : tr("Ringvakt - ingen forbindelse med linja");
        else
            tip = m_lostSince.isValid()
                      ? tr("Ringvakt - ingen forbindelse med linja (%1) siden %2")
                            .arg(m_lineName, since)
                      : tr("Ringvakt - ingen forbindelse med linja (%1)").arg(m_lineName);
    }
    if (m_missed > 0)
        tip += QLatin1Char('\n') + m_missedLine;
    if (!m_problem.isEmpty())
        tip += QLatin1Char('\n') + m_problem;
    m_tray->setToolTip(tip);
}

void TrayIcon::RemoveTrayIcon()
{
    m_tray->hide();
}

QIcon TrayIcon::icon() const
{
    return m_tray->icon();
}

QString TrayIcon::toolTip() const
{
    return m_tray->toolTip();
}

void TrayIcon::setProblem(const QString& text)
{
    if (text == m_problem)
        return;
    m_problem = text;
    refresh();
}

void TrayIcon::setMissedCalls(int count, const QString& lastCaller, const QString& lastTime)
{
    // Norwegian says "1 ubesvart anrop" but "3 ubesvarte anrop": the one has
    // a text of its own; each is a plural form for other languages.
    const QString line =
        count <= 0 ? QString()
        : count == 1
            ? tr("%n ubesvart anrop (siste: %1 %2)", nullptr, count).arg(lastCaller, lastTime)
            : tr("%n ubesvarte anrop (siste: %1 %2)", nullptr, count).arg(lastCaller, lastTime);
    if (count == m_missed && line == m_missedLine)
        return;
    m_missed = qMax(0, count);
    m_missedLine = line;
    refresh();
}

bool TrayIcon::isVisible() const
{
    return m_tray->isVisible();
}
