#pragma once

#include "settings/SettingsDialog.h"

#include <QPointer>

// Opens the settings dialog for the tray's "Oppsett": one dialog at a time,
// modal to the main window only (the call popup and the tray menu stay
// usable), and a second request only brings the open one to the front.
class SettingsDialogOpener
{
public:
    SettingsDialogOpener(QWidget* mainWindow, const SettingsDialogParts& parts);

    // Returns when the dialog has ended, or at once when it was open already.
    void OpenSettingsDialog();

    // The open dialog, or nullptr.
    SettingsDialog* dialog() const { return m_dialog.data(); }
    bool isOpen() const { return !m_dialog.isNull(); }

private:
    QWidget* m_mainWindow;
    SettingsDialogParts m_parts;
    QPointer<SettingsDialog> m_dialog;
};
