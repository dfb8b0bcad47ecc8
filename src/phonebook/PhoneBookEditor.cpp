#include "phonebook/PhoneBookEditor.h"

#include "calllog/CallLog.h"
#include "phonebook/PhoneBook.h"
#include "phonebook/PhoneBookServices.h"
#include "phonebook/PhoneBookWindow.h"
#include "platform/Cp1252.h"
#include "platform/DialogBuilder.h"
#include "platform/FirstSelectedRow.h"
#include "platform/MessageBoxes.h"
#include "platform/RecorderStarter.h"
#include "platform/SoundFiles.h"
#include "platform/SoundOutput.h"
#include "settings/Settings.h"

#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

namespace {

constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kSurname = 1022;
constexpr int kNumber = 1023;
constexpr int kFirstName = 1031;
constexpr int kRecord = 1033;
constexpr int kPlay = 1034;
constexpr int kDeleteSound = 1035;
constexpr int kSoundFile = 1036;

} // namespace

PhoneBookEditor::PhoneBookEditor(PhoneBookWindow& window, const PhoneBookServices& services)
    : QDialog(services.owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_window(&window), m_services(services)
{
    dialogbuilder::build(this, DialogTemplate::load(kTemplateId));
    setWindowTitle(tr("Ringvakt - Katalog innlegg"));

    auto* ok = dialogbuilder::control<QPushButton>(this, kOk);
    auto* cancel = dialogbuilder::control<QPushButton>(this, kCancel);
    ok->setText(tr("OK"));
    cancel->setText(tr("Avbryt"));
    dialogbuilder::control<QLabel>(this, 1026)->setText(tr("Etternavn:"));
    dialogbuilder::control<QLabel>(this, 1030)->setText(tr("Fornavn:"));
    dialogbuilder::control<QLabel>(this, 1027)->setText(tr("Tlf.Nummer:"));
    dialogbuilder::control<QLabel>(this, 1070)->setText(tr("Personlig melding (f.eks. Navnet):"));

    m_surname = dialogbuilder::control<QLineEdit>(this, kSurname);
    m_firstName = dialogbuilder::control<QLineEdit>(this, kFirstName);
    m_number = dialogbuilder::control<QLineEdit>(this, kNumber);
    m_soundFile = dialogbuilder::control<QLineEdit>(this, kSoundFile);
    m_play = dialogbuilder::control<QPushButton>(this, kPlay);
    m_record = dialogbuilder::control<QPushButton>(this, kRecord);
    m_deleteSound = dialogbuilder::control<QPushButton>(this, kDeleteSound);
    m_play->setAccessibleName(tr("Spill av"));
    m_record->setAccessibleName(tr("Ta opp"));
    m_deleteSound->setAccessibleName(tr("Slett lydfilen"));
    dialogbuilder::fit(this);
    dialogbuilder::tieFieldsToLabels(this);
    // What does not fit a field of the book is never typed in the first place.
    for (QLineEdit* edit : {m_surname, m_firstName, m_number})
        edit->setMaxLength(int(kMaxPhoneBookField));

    // The phone book window waits while its list is being edited.
    window.setEnabled(false);
    m_play->setEnabled(false);
    m_record->setEnabled(false);
    m_deleteSound->setEnabled(false);

    // Add or change: decided once, by the selection as the editor opens.
    const int row = FirstSelectedRow(window.view());
    m_addMode = row < 0 || row >= window.list().size();
    if (!m_addMode) {
        const PhoneBookEntry& entry = window.list().at(row);
        m_surname->setText(cp1252::toQString(entry.surname));
        m_firstName->setText(cp1252::toQString(entry.firstName));
        // A number taken over from a call may hold more than digits; it is
        // shown as it is (the digits-only rule applies to typing).
        m_number->setText(cp1252::toQString(entry.number));
        applySoundButtonRule();
        m_soundFile->setText(cp1252::toQString(PersonalSoundFileName(entry.number)));
    }

    connect(m_number, &QLineEdit::textChanged, this, &PhoneBookEditor::numberChanged);
    for (const int id : {kOk, kCancel, kRecord, kPlay, kDeleteSound}) {
        connect(dialogbuilder::control<QPushButton>(this, id), &QPushButton::clicked, this,
                [this, id] { command(id); });
    }

    // The template places the editor at the top-left corner of the main
    // window's client area.
    if (QWidget* owner = m_services.owner)
        move(owner->mapToGlobal(QPoint(0, 0)));
}

PhoneBookEditor::~PhoneBookEditor()
{
    // Whichever way the editor went (even with the event loop ending under
    // it), the phone book window is usable again.
    if (m_window)
        m_window->setEnabled(true);
}

void PhoneBookEditor::command(int id)
{
    switch (id) {
    case kOk:
        ok();
        return;
    case kCancel:
        cancel();
        return;
    case kRecord:
        record();
        return;
    case kPlay:
        play();
        return;
    case kDeleteSound:
        deleteSound();
        return;
    default:
        return;
    }
}

void PhoneBookEditor::reject()
{
    cancel();
}

void PhoneBookEditor::closeEvent(QCloseEvent* event)
{
    // The editor has no close box; one that a window manager adds anyway
    // cancels.
    event->accept();
    cancel();
}

std::string PhoneBookEditor::field(const QLineEdit* edit) const
{
    // A single-line field keeps what comes before a pasted line break; a
    // line break in a field would split the entry in the file.
    QString text = edit->text();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\r') || text[i] == QLatin1Char('\n')) {
            text.truncate(i);
            break;
        }
    }
    std::string bytes = cp1252::fromQString(text);
    if (bytes.size() > kMaxPhoneBookField)
        bytes.resize(kMaxPhoneBookField);
    return bytes;
}

std::optional<QString> PhoneBookEditor::soundFilePath() const
{
    const std::string name = cp1252::fromQString(m_soundFile->text());
    // The file as it is there, in whatever letter case; else where it goes.
    if (std::optional<QString> existing = soundfiles::findExisting(m_services.dataDir, name))
        return existing;
    return soundfiles::pathFor(m_services.dataDir, name);
}

void PhoneBookEditor::applySoundButtonRule()
{
    const std::string number = field(m_number);
    if (number.empty()) {
        m_record->setEnabled(false);
        m_play->setEnabled(false);
        m_deleteSound->setEnabled(false);
        m_soundFile->clear();
        return;
    }
    m_record->setEnabled(true);
    const bool exists = PersonalSoundExists(m_services.dataDir, number);
    m_play->setEnabled(exists);
    m_deleteSound->setEnabled(exists);
}

void PhoneBookEditor::numberChanged()
{
    applySoundButtonRule();
    const std::string number = field(m_number);
    if (!number.empty())
        m_soundFile->setText(cp1252::toQString(PersonalSoundFileName(number)));
}

void PhoneBookEditor::play()
{
    // Nothing outside "sound/" is ever played, whatever the field holds.
    if (const std::optional<QString> path = soundFilePath())
        m_services.sound.playFile(*path);
}

void PhoneBookEditor::record()
{
    if (const std::optional<QString> path = soundFilePath()) {
        // The recorder runs on its own; nothing waits for it. A recording
        // saved meanwhile shows in the buttons at the next change of the
        // number or the next opening of the editor.
        m_services.recorder.startRecorder(*path);
    } else {
        showMessage(tr("Tlf.Nummeret kan ikke brukes som navn på en lydfil."));
    }
    applySoundButtonRule();
}

void PhoneBookEditor::deleteSound()
{
    if (msgbox::question(this, QStringLiteral("Ringvakt"),
                         tr("Vil du virkelig slette denne lydfilen ?")) == msgbox::Answer::No)
        return;
    // Only a file that is there is deleted, and only inside "sound/".
    if (const std::optional<QString> path = soundFilePath())
        QFile::remove(*path);
    applySoundButtonRule();
}

void PhoneBookEditor::ok()
{
    const std::string surname = field(m_surname);
    const std::string firstName = field(m_firstName);
    const std::string number = field(m_number);
    if (surname.empty() || surname.front() == ' ') {
        showMessage(tr("Feil i Etternavn !"));
        return;
    }
    if (number.empty()) {
        showMessage(tr("Feil i Tlf.Nummer !"));
        return;
    }
    if (m_addMode && m_services.callLog.phoneBook().find(number)) {
        showMessage(tr("Tlf.Nummeret er alerede i katalogen !"));
        return;
    }
    // The list belongs to the window; without it there is nothing to save to.
    if (!m_window) {
        done(0);
        return;
    }
    PhoneBookWindow& window = *m_window;

    const int selected = FirstSelectedRow(window.view());
    const PhoneBookEntry entry{surname, firstName, number};
    const auto change = [selected, &entry](PhoneBookList& list) {
        if (selected >= 0)
            list.removeAt(selected);
        list.insertSorted(entry);
    };
    // A failed save leaves the list and the file as they were and the editor
    // open with what was typed, to try again or cancel; nothing is purged.
    if (!window.saveChange(change, this))
        return;
    window.setEnabled(true);
    window.RefreshSoundIcons();
    PurgeOrphanSounds(m_services.dataDir, m_services.settings.IntroFile,
                      m_services.settings.OutroFile);
    done(1);
}

void PhoneBookEditor::cancel()
{
    // Nothing is saved and nothing purged: a sound recorded meanwhile stays
    // until the next purge.
    if (m_window)
        m_window->setEnabled(true);
    done(0);
}

void PhoneBookEditor::showMessage(const QString& text)
{
    msgbox::inform(this, QStringLiteral("Ringvakt"), text);
}
