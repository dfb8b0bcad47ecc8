#pragma once

#include "settings/FieldGroup.h"

#include <QCoreApplication>
#include <QString>

class QComboBox;
class QLabel;

// The settings dialog's "Språk:": the language of the windows, the
// desktop's ("Automatisk") or one chosen. The windows take it at the next
// start, which a note beside the choice says once it differs from the
// setting the dialog opened with.
class LanguageFields : public FieldGroup
{
    // The texts of every group belong to the dialog's one context.
    Q_DECLARE_TR_FUNCTIONS(SettingsDialog)

public:
    explicit LanguageFields(QWidget* dialog);

    // Fills the choice from the settings; once, when the dialog opens.
    void show(const Settings& s);
    // The choice into the settings record.
    void store(Settings& s) const;

    static constexpr int kLabel = 1109;
    static constexpr int kChoice = 1110;
    static constexpr int kNote = 1111;

private:
    QComboBox* choice() const;
    QLabel* note() const;
    // Shows the note while the choice differs from the stored setting.
    void showNote() const;

    QString m_stored;
};
