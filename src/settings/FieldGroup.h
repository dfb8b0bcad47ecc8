#pragma once

#include "platform/DialogBuilder.h"
#include "settings/Settings.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <array>
#include <cstdint>

// What stops OK: the message, and the field to put right (it has the focus
// once the message is answered). No text: nothing stops OK.
struct FieldProblem
{
    QString text;
    QWidget* field = nullptr;
};

// A group of radio buttons: their ids in the order of their values. A
// setting's value n (counted from 1) selects the n-th button.
struct ChoiceGroup
{
    std::array<int, 4> ids;
    int count;
    int32_t Settings::*field;
};

// One group of the settings dialog's controls, found by their ids in the
// dialog once it is built from its template.
class FieldGroup
{
protected:
    explicit FieldGroup(QWidget* dialog) : m_dialog(dialog) {}

    template <class T> T* control(int id) const { return dialogbuilder::control<T>(m_dialog, id); }
    QLineEdit* edit(int id) const { return control<QLineEdit>(id); }
    QCheckBox* box(int id) const { return control<QCheckBox>(id); }
    QRadioButton* radio(int id) const { return control<QRadioButton>(id); }

    // Selects the button of the setting's value; a value outside the
    // group's choices selects none of them.
    void showChoice(const ChoiceGroup& g, const Settings& s) const
    {
        const int32_t value = s.*g.field;
        if (value >= 1 && value <= g.count)
            radio(g.ids[size_t(value - 1)])->setChecked(true);
        else
            dialogbuilder::clearRadioGroup(radio(g.ids[0]));
    }

    // The chosen button's value into the setting; a group with no choice
    // leaves its setting as it was.
    void storeChoice(const ChoiceGroup& g, Settings& s) const
    {
        for (int i = 0; i < g.count; ++i) {
            if (radio(g.ids[size_t(i)])->isChecked())
                s.*g.field = i + 1;
        }
    }

    QWidget* m_dialog;
};
