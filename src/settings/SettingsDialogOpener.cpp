#include "settings/SettingsDialogOpener.h"

SettingsDialogOpener::SettingsDialogOpener(QWidget* mainWindow, const SettingsDialogParts& parts)
    : m_mainWindow(mainWindow), m_parts(parts)
{}

void SettingsDialogOpener::OpenSettingsDialog()
{
    if (m_dialog) {
        m_dialog->raise();
        m_dialog->activateWindow();
        return;
    }
    m_dialog = new SettingsDialog(m_mainWindow, m_parts);
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->exec();
    // Deleted here, after its loop has ended, never from one of its own
    // handlers. The main window may have taken it along already if the
    // program ended while the dialog was open.
    delete m_dialog.data();
}
