#include "settings/SettingsDialog.h"

#include "platform/DialogBuilder.h"
#include "platform/MessageBoxes.h"
#include "settings/Settings.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kOk = 1;
constexpr int kCancel = 2;

struct ControlText
{
    int id;
    const char* text;
};
// The run-time texts of the group boxes, radio buttons and check boxes,
// translated where they are shown.
constexpr ControlText kTexts[] = {
    {1071, QT_TRANSLATE_NOOP("SettingsDialog", "Vis melding ved Ring")},
    {1047, QT_TRANSLATE_NOOP("SettingsDialog", "Alltid")},
    {1048, QT_TRANSLATE_NOOP("SettingsDialog", "Hvis Innringer ble gjenkjent")},
    {1049, QT_TRANSLATE_NOOP("SettingsDialog", "Aldri")},
    {1072, QT_TRANSLATE_NOOP("SettingsDialog", "Lukk meldingen")},
    {1050, QT_TRANSLATE_NOOP("SettingsDialog", "Aldri")},
    {1051, QT_TRANSLATE_NOOP("SettingsDialog", "Etter (sekunder):")},
    {1073, QT_TRANSLATE_NOOP("SettingsDialog", "Gi et PIP ved ring")},
    {1052, QT_TRANSLATE_NOOP("SettingsDialog", "Alltid")},
    {1053, QT_TRANSLATE_NOOP("SettingsDialog", "Hvis Innringer blir gjenkjent")},
    {1054, QT_TRANSLATE_NOOP("SettingsDialog", "Hvis ingen personlig lyd ligger inne")},
    {1055, QT_TRANSLATE_NOOP("SettingsDialog", "Aldri")},
    {1074, QT_TRANSLATE_NOOP("SettingsDialog", "MSN'er")},
    {1040, QT_TRANSLATE_NOOP("SettingsDialog", "Logg alle MSN'er")},
    {1044, QT_TRANSLATE_NOOP("SettingsDialog", "Logg MSN 1:")},
    {1045, QT_TRANSLATE_NOOP("SettingsDialog", "Logg MSN 2:")},
    {1046, QT_TRANSLATE_NOOP("SettingsDialog", "Logg MSN 3:")},
    {1075, QT_TRANSLATE_NOOP("SettingsDialog", "Personlige Alarmer")},
    {1008, QT_TRANSLATE_NOOP("SettingsDialog", "Spill Personlig Alarm")},
    {1056, QT_TRANSLATE_NOOP("SettingsDialog", "Spill intro:")},
    {1062, QT_TRANSLATE_NOOP("SettingsDialog", "Spill outro:")},
    {1080, QT_TRANSLATE_NOOP("SettingsDialog", "Linje")},
    {1081, QT_TRANSLATE_NOOP("SettingsDialog", "CAPI (ISDN-kort, eller ruter med CAPI over TCP)")},
    {1082, QT_TRANSLATE_NOOP("SettingsDialog", "Ruterens samtalemonitor:")},
    {1085, QT_TRANSLATE_NOOP("SettingsDialog", "Vis varsel på skrivebordet")},
    {1086, QT_TRANSLATE_NOOP("SettingsDialog", "Land for telefonnumre:")},
    {1088, QT_TRANSLATE_NOOP("SettingsDialog", "Deling")},
    {1090, QT_TRANSLATE_NOOP("SettingsDialog", "Del anrop via MQTT")},
    {1103, QT_TRANSLATE_NOOP("SettingsDialog", "Megler:")},
    {1104, QT_TRANSLATE_NOOP("SettingsDialog", "Port:")},
    {1105, QT_TRANSLATE_NOOP("SettingsDialog", "Bruker:")},
    {1106, QT_TRANSLATE_NOOP("SettingsDialog", "Passord:")},
    {1095, QT_TRANSLATE_NOOP("SettingsDialog", "Bruk TLS")},
    {1107, QT_TRANSLATE_NOOP("SettingsDialog", "CA-fil:")},
    {1108, QT_TRANSLATE_NOOP("SettingsDialog", "Emne:")},
    {1098, QT_TRANSLATE_NOOP("SettingsDialog", "Meld til hjemmeautomasjon")},
    {1099, QT_TRANSLATE_NOOP("SettingsDialog", "Anrop fra en annen Ringvakt (MQTT)")},
    {1102, QT_TRANSLATE_NOOP("SettingsDialog", "Bare fra maskin:")},
};

// The controls whose clicks are commands of the dialog; the other choices
// and the intro and outro ticks are their own state.
constexpr int kCommandIds[] = {kOk,
                               kCancel,
                               AnnouncementFields::kCloseNever,
                               AnnouncementFields::kCloseAfter,
                               MsnFields::kLogAll,
                               MsnFields::kMsn1,
                               MsnFields::kMsn2,
                               MsnFields::kMsn3,
                               SoundFields::kPersonalSounds,
                               SoundFields::kIntroPlay,
                               SoundFields::kIntroRecord,
                               SoundFields::kOutroPlay,
                               SoundFields::kOutroRecord,
                               SoundFields::kIntroDelete,
                               SoundFields::kOutroDelete,
                               LineFields::kCapi,
                               LineFields::kMonitor,
                               LineFields::kMqtt,
                               SharingFields::kShare,
                               SharingFields::kTls,
                               SharingFields::kChooseCaFile};

} // namespace

SettingsDialog::SettingsDialog(QWidget* owner, const SettingsDialogParts& parts)
    // A caption and a frame, no system menu: the dialog ends through its own
    // buttons (a close button that a window manager adds takes Cancel).
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_parts(parts),
      m_announcement(this), m_msns(this),
      m_sounds(this, m_parts.settings, m_parts.sound, m_parts.recorder, m_parts.dataDir),
      m_line(this), m_sharing(this), m_language(this)
{
    dialogbuilder::build(this, DialogTemplate::load(kTemplateId));
    for (int id : kCommandIds) {
        auto* button = dialogbuilder::control<QAbstractButton>(this, id);
        connect(button, &QAbstractButton::clicked, this, [this, id] { command(id); });
    }
    initialise();
}

void SettingsDialog::initialise()
{
    const Settings& s = m_parts.settings;
    setWindowTitle(tr("Ringvakt Oppsett"));
    dialogbuilder::control<QPushButton>(this, kOk)->setText(tr("OK"));
    dialogbuilder::control<QPushButton>(this, kCancel)->setText(tr("Avbryt"));

    for (const ControlText& t : kTexts) {
        QWidget* w = dialogbuilder::control(this, t.id);
        const QString text = tr(t.text);
        if (auto* box = qobject_cast<QGroupBox*>(w))
            box->setTitle(text);
        else if (auto* label = qobject_cast<QLabel*>(w))
            label->setText(text);
        else
            qobject_cast<QAbstractButton*>(w)->setText(text);
    }

    m_announcement.show(s);
    m_msns.show(s);
    m_sounds.show(s);
    m_line.show(s);
    m_sharing.show(s);
    m_language.show(s);
    updateLineFields();

    dialogbuilder::fit(this);
    dialogbuilder::tieFieldsToLabels(this);
}

void SettingsDialog::updateLineFields()
{
    m_line.update();
    m_sharing.update(m_line.mqttLine());
}

void SettingsDialog::command(int id)
{
    switch (id) {
    case kOk:
        ok();
        return;
    case kCancel:
        // Nothing is taken over and nothing is saved.
        done(0);
        return;
    case AnnouncementFields::kCloseNever:
    case AnnouncementFields::kCloseAfter:
        m_announcement.updateDelayField();
        return;
    case MsnFields::kLogAll:
        m_msns.logAll();
        return;
    case MsnFields::kMsn1:
    case MsnFields::kMsn2:
    case MsnFields::kMsn3:
        m_msns.msnClicked(id);
        return;
    case SoundFields::kPersonalSounds:
        m_sounds.personalSoundsClicked();
        return;
    case SoundFields::kIntroPlay:
    case SoundFields::kOutroPlay:
    case SoundFields::kIntroRecord:
    case SoundFields::kOutroRecord:
    case SoundFields::kIntroDelete:
    case SoundFields::kOutroDelete:
        m_sounds.soundButtonClicked(id);
        return;
    case LineFields::kCapi:
    case LineFields::kMonitor:
    case LineFields::kMqtt:
    case SharingFields::kShare:
    case SharingFields::kTls:
        updateLineFields();
        return;
    case SharingFields::kChooseCaFile:
        m_sharing.chooseCaFile();
        return;
    default:
        return;
    }
}

void SettingsDialog::reject()
{
    command(kCancel);
}

void SettingsDialog::showSettingsError(const QString& text)
{
    msgbox::inform(this, tr("Error"), text);
}

void SettingsDialog::ok()
{
    // The checks, in this order; the first that fails is the only one
    // reported, and the dialog stays open with everything as it was.
    FieldProblem problem = m_msns.check();
    if (problem.text.isEmpty())
        problem = m_announcement.check();
    if (problem.text.isEmpty())
        problem = m_line.check();
    if (problem.text.isEmpty())
        problem = m_sharing.check(m_line.mqttLine());
    if (!problem.text.isEmpty()) {
        showSettingsError(problem.text);
        // Straight to the field to put right.
        if (problem.field) {
            problem.field->setFocus(Qt::OtherFocusReason);
            if (auto* edit = qobject_cast<QLineEdit*>(problem.field))
                edit->selectAll();
        }
        return;
    }

    // Everything at once, so that a call never sees half of the change. A
    // group with no choice leaves its setting as it was.
    Settings s = m_parts.settings;
    m_announcement.store(s);
    m_msns.store(s);
    m_sounds.store(s);
    m_line.store(s);
    m_sharing.store(s);
    m_language.store(s);
    m_parts.settings = s;

    if (!SaveSettings(m_parts.settings, m_parts.store)) {
        // The new settings hold for this run all the same; the user must
        // know that the next start will not have them.
        msgbox::inform(this, QStringLiteral("Ringvakt"),
                       tr("Oppsettet kunne ikke lagres.\n"
                          "Endringene gjelder bare til Ringvakt avsluttes."));
    }
    done(1);
}
