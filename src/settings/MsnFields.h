#pragma once

#include "settings/FieldGroup.h"

#include <QCoreApplication>
#include <QString>

// The settings dialog's "MSN'er": "Logg alle MSN'er", or up to three MSNs,
// each a box that ticks it and a field that holds it. "Logg alle MSN'er"
// is ticked exactly when none of the three is, and a field can be written
// while its box is ticked.
class MsnFields : public FieldGroup
{
    // The texts of every group belong to the dialog's one context.
    Q_DECLARE_TR_FUNCTIONS(SettingsDialog)

public:
    explicit MsnFields(QWidget* dialog);

    // Fills the fields from the settings; once, when the dialog opens.
    void show(const Settings& s);
    // A click on "Logg alle MSN'er".
    void logAll();
    // A click on the box of one MSN (kMsn1, kMsn2 or kMsn3).
    void msnClicked(int id);
    // The message of the first ticked MSN that is empty, or an empty text.
    FieldProblem check() const;
    // The MSNs and their ticks into the settings record.
    void store(Settings& s) const;

    // The ids of the boxes, whose clicks are commands.
    static constexpr int kLogAll = 1040;
    static constexpr int kMsn1 = 1044;
    static constexpr int kMsn2 = 1045;
    static constexpr int kMsn3 = 1046;

private:
    // An MSN's text as it is stored.
    std::string msn(size_t row) const;
};
