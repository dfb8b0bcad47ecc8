#include "settings/MsnFields.h"

#include "platform/Cp1252.h"

namespace {

// The three MSNs, each a box, a field and a bit.
struct MsnRow
{
    int boxId;
    int fieldId;
    std::string Settings::*text;
    int32_t bit;
    const char* emptyMessage;
};
const std::array<MsnRow, 3> kMsnRows = {{
    {MsnFields::kMsn1, 1059, &Settings::MSN_1, MsnLog::Msn1,
     QT_TRANSLATE_NOOP("SettingsDialog", "Check MSN 1 !")},
    {MsnFields::kMsn2, 1060, &Settings::MSN_2, MsnLog::Msn2,
     QT_TRANSLATE_NOOP("SettingsDialog", "Check MSN 2 !")},
    {MsnFields::kMsn3, 1061, &Settings::MSN_3, MsnLog::Msn3,
     QT_TRANSLATE_NOOP("SettingsDialog", "Check MSN 3 !")},
}};

} // namespace

MsnFields::MsnFields(QWidget* dialog) : FieldGroup(dialog) {}

void MsnFields::show(const Settings& s)
{
    // Exactly 7 means every call, shown as "Logg alle MSN'er" alone; any
    // other value ticks the MSNs of its bits. The texts show either way.
    for (const MsnRow& row : kMsnRows) {
        QLineEdit* field = edit(row.fieldId);
        const bool selected = s.MSN_LOG != MsnLog::All && (s.MSN_LOG & row.bit) != 0;
        box(row.boxId)->setChecked(selected);
        field->setReadOnly(!selected);
        // An MSN is stored with at most 19 characters: the field takes no
        // more, so that what the user sees is what is saved.
        field->setMaxLength(int(kMaxMsnLength));
        field->setText(cp1252::toQString(s.*row.text));
    }
    box(kLogAll)->setChecked(s.MSN_LOG == MsnLog::All);
}

void MsnFields::logAll()
{
    // A click on the ticked box leaves it ticked.
    box(kLogAll)->setChecked(true);
    for (const MsnRow& row : kMsnRows) {
        box(row.boxId)->setChecked(false);
        edit(row.fieldId)->setReadOnly(true);
    }
}

void MsnFields::msnClicked(int id)
{
    const MsnRow& row = kMsnRows[size_t(id - kMsn1)];
    edit(row.fieldId)->setReadOnly(!box(row.boxId)->isChecked());
    // "Logg alle MSN'er" is ticked exactly when none of the three is.
    bool anyTicked = false;
    for (const MsnRow& r : kMsnRows)
        anyTicked = anyTicked || box(r.boxId)->isChecked();
    box(kLogAll)->setChecked(!anyTicked);
}

std::string MsnFields::msn(size_t row) const
{
    std::string text = cp1252::fromQString(edit(kMsnRows[row].fieldId)->text());
    if (text.size() > kMaxMsnLength)
        text.resize(kMaxMsnLength);
    return text;
}

FieldProblem MsnFields::check() const
{
    for (size_t n = 0; n < kMsnRows.size(); ++n) {
        if (msn(n).empty() && box(kMsnRows[n].boxId)->isChecked())
            return {tr(kMsnRows[n].emptyMessage), edit(kMsnRows[n].fieldId)};
    }
    return {};
}

void MsnFields::store(Settings& s) const
{
    s.MSN_LOG = box(kLogAll)->isChecked() ? MsnLog::All : MsnLog::None;
    for (size_t n = 0; n < kMsnRows.size(); ++n) {
        s.*kMsnRows[n].text = msn(n);
        if (box(kMsnRows[n].boxId)->isChecked())
            s.MSN_LOG |= kMsnRows[n].bit;
    }
}
