#pragma once

#include "calls/OperatingMode.h"

#include <QDateTime>
#include <QIcon>
#include <QObject>

class QMenu;
class QSystemTrayIcon;

// The icon in the tray: its picture shows the mode, its menu (pop-up 0 of
// the shared menu) carries the commands, and activating it shows the call
// log.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    // Whether the desktop has a tray at all.
    static bool available();

    // Sets the menu's texts, default item and check marks and the icon for
    // the mode; `add` puts the icon into the tray the first time.
    void SetTrayMode(OperatingMode mode, bool add);
    void RemoveTrayIcon();

    QMenu* menu() const { return m_menu; }
    // The resource number of the picture shown now; tests look at it.
    int iconId() const { return m_iconId; }
    QString toolTip() const;
    // The line is gone (since `since`): the picture and the tooltip say so
    // until it is back.
    void setLineLost(bool lost, const QDateTime& since = {});
    bool lineLost() const { return m_lineLost; }
    // The line's name for the tooltip ("samtalemonitor fritz.box:1012");
    // empty for the CAPI line, whose tooltip is "Ringvakt".
    void setLineName(const QString& name);
    // A message from the tray, once (a call monitor that cannot be reached).
    void showNotice(const QString& text);
    QString lastNotice() const { return m_lastNotice; }

    // A problem the user should know of, shown under the name in the
    // tooltip; an empty text clears it.
    void setProblem(const QString& text);
    // Missed calls the user has not seen: the picture carries a mark and the
    // tooltip a line "3 ubesvarte anrop (siste: Kari Hansen 14:02)" with the
    // last caller and the time it rang. None (0): neither.
    void setMissedCalls(int count, const QString& lastCaller = {}, const QString& lastTime = {});
    // The picture shown now.
    QIcon icon() const;
    bool isVisible() const;

signals:
    void commandChosen(int id);
    void showCallLog();

private:
    void refresh();

    QMenu* m_menu;
    QSystemTrayIcon* m_tray;
    int m_iconId = 0;
    int m_modeIconId = 101;
    bool m_lineLost = false;
    QDateTime m_lostSince;
    QString m_lineName;
    QString m_lastNotice;
    QString m_problem;
    int m_missed = 0;
    QString m_missedLine;
};
