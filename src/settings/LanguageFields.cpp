#include "settings/LanguageFields.h"

#include "platform/Cp1252.h"
#include "settings/Languages.h"

#include <QComboBox>
#include <QLabel>

LanguageFields::LanguageFields(QWidget* dialog) : FieldGroup(dialog) {}

QComboBox* LanguageFields::choice() const
{
    return control<QComboBox>(kChoice);
}

QLabel* LanguageFields::note() const
{
    return control<QLabel>(kNote);
}

void LanguageFields::show(const Settings& s)
{
    auto* label = control<QLabel>(kLabel);
    label->setText(tr("Språk:"));
    label->setBuddy(choice());
    note()->setText(tr("Språket endres neste gang Ringvakt startes."));

    m_stored = cp1252::toQString(s.LANGUAGE);
    choice()->addItem(tr("Automatisk"), QString());
    for (const Language& language : kLanguages)
        choice()->addItem(QString::fromUtf8(language.name), QString::fromLatin1(language.code));
    // A value that names no language of the list (written by hand) is kept
    // as it stands until the user picks another.
    int index = choice()->findData(m_stored);
    if (index < 0) {
        choice()->addItem(m_stored, m_stored);
        index = choice()->count() - 1;
    }
    choice()->setCurrentIndex(index);
    showNote();
    QObject::connect(choice(), &QComboBox::currentIndexChanged, note(), [this] { showNote(); });
}

void LanguageFields::showNote() const
{
    note()->setVisible(choice()->currentData().toString() != m_stored);
}

void LanguageFields::store(Settings& s) const
{
    s.LANGUAGE = cp1252::fromQString(choice()->currentData().toString());
}
