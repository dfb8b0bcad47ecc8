#pragma once

#include "settings/FieldGroup.h"

#include <QCoreApplication>
#include <QString>

// How the settings dialog says that a call rings: "Vis melding ved Ring",
// "Lukk meldingen" with its delay, "Gi et PIP ved ring", and the desktop
// notification. The delay can be written unless "Aldri" is the close
// choice.
class AnnouncementFields : public FieldGroup
{
    // The texts of every group belong to the dialog's one context.
    Q_DECLARE_TR_FUNCTIONS(SettingsDialog)

public:
    explicit AnnouncementFields(QWidget* dialog);

    // Fills the fields from the settings; once, when the dialog opens.
    void show(const Settings& s);
    // Makes the delay writable, or not, as the close choice says.
    void updateDelayField();
    // The message that stops OK, or an empty text.
    FieldProblem check() const;
    // The choices into the settings record, once check() found nothing.
    void store(Settings& s) const;

    // The ids of the close choices, whose clicks change the delay field.
    static constexpr int kCloseNever = 1050;
    static constexpr int kCloseAfter = 1051;
};
