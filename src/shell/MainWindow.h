#pragma once

#include <QWidget>

class CallLogWindow;
class QMenu;
class QMenuBar;

// The program's own window: hidden at start, the frame of the call log,
// owner of every dialog and message box of the shell. Its close button only
// hides it; the program goes on in the tray.
class MainWindow : public QWidget
{
    Q_OBJECT
public:
    MainWindow();

    // Puts the call log inside the frame and sizes the frame to fit it,
    // centred on the screen.
    void setCallLogWindow(CallLogWindow* callLog);
    CallLogWindow* callLogWindow() const { return m_callLog; }

    // With a tray, "Lukk", Enter and the close button hide the window (the
    // tray shows it again). Without one the window carries the tray's menu
    // in a menu bar, and all three minimise it: a hidden window could not be
    // found again.
    void setTrayPresent(bool present, QMenu* trayMenu);
    bool trayPresent() const { return m_trayPresent; }

    // Shows the call log and brings it to the front.
    void showMainWindow();
    // "Lukk": hidden with a tray, minimised without.
    void dismiss();

signals:
    // A command id, from the tray menu or the menu bar.
    void commandChosen(int id);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CallLogWindow* m_callLog = nullptr;
    QMenuBar* m_menuBar = nullptr;
    bool m_trayPresent = true;
};
