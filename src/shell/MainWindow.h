#pragma once

#include <QTimer>
#include <QWidget>

class CallLogWindow;
class QMenu;
class QMenuBar;

// The program's own window: hidden at start, the frame of the call log,
// owner of the two timers and of every dialog and message box of the shell.
// Its close button only hides it; the program goes on in the tray.
class MainWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kPollTimerId = 1;
    static constexpr int kCloseTimerId = 2;
    static constexpr int kPollIntervalMs = 1000;

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

    QTimer& pollTimer() { return m_pollTimer; }
    QTimer& closeTimer() { return m_closeTimer; }

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
    QTimer m_pollTimer;
    QTimer m_closeTimer;
};
