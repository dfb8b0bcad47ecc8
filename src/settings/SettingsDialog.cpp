#include "settings/SettingsDialog.h"

#include "numbers/PhoneNumbers.h"
#include "platform/Cp1252.h"
#include "platform/DialogBuilder.h"
#include "platform/MessageBoxes.h"
#include "settings/IntroOutroSounds.h"
#include "settings/Settings.h"
#include "settings/SharingFields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <limits>
#include <optional>

namespace {

constexpr int kOk = 1;
constexpr int kCancel = 2;

// The choice groups: the radio buttons' ids in the order of their values.
// A setting's value n (counted from 1) selects the n-th button.
struct ChoiceGroup
{
    std::array<int, 4> ids;
    int count;
    int32_t Settings::*field;
};
constexpr ChoiceGroup kShowGroup{{1047, 1048, 1049}, 3, &Settings::MSG_SHOW};
constexpr ChoiceGroup kCloseGroup{{1050, 1051}, 2, &Settings::MSG_CLOSE};
constexpr ChoiceGroup kBeepGroup{{1052, 1053, 1054, 1055}, 4, &Settings::BEEP};
constexpr int kCloseNever = 1050;
constexpr int kCloseAfter = 1051;
constexpr int kDelayField = 1058;
constexpr uint32_t kMaxDelaySeconds = 1000;

// "Logg alle MSN'er" and the three MSNs, each a box, a field and a bit.
constexpr int kLogAllMsns = 1040;
struct MsnRow
{
    int boxId;
    int fieldId;
    std::string Settings::*text;
    int32_t bit;
    const char* emptyMessage;
};
const std::array<MsnRow, 3> kMsnRows = {{
    {1044, 1059, &Settings::MSN_1, MsnLog::Msn1, "Check MSN 1 !"},
    {1045, 1060, &Settings::MSN_2, MsnLog::Msn2, "Check MSN 2 !"},
    {1046, 1061, &Settings::MSN_3, MsnLog::Msn3, "Check MSN 3 !"},
}};

constexpr int kPersonalSounds = 1008;
constexpr int kPlayIntro = 1056;
constexpr int kIntroName = 1057;
constexpr int kPlayOutro = 1062;
constexpr int kOutroName = 1063;
constexpr int kIntroPlay = 1064;
constexpr int kIntroRecord = 1065;
constexpr int kOutroPlay = 1066;
constexpr int kOutroRecord = 1067;
constexpr int kIntroDelete = 1068;
constexpr int kOutroDelete = 1069;

// The line: CAPI, the router's call monitor at a host and port, or the
// calls other desktops share over MQTT.
constexpr int kLineCapiButton = 1081;
constexpr int kLineMonitorButton = 1082;
constexpr int kLineMqttButton = SharingFields::kMqttLine;
constexpr ChoiceGroup kLineGroup{
    {kLineCapiButton, kLineMonitorButton, kLineMqttButton}, 3, &Settings::LINE};
constexpr int kMonitorHost = 1083;
constexpr int kMonitorPort = 1084;
// Desktop notifications of announced calls.
constexpr int kNotify = 1085;
// The home country, whose numbers are matched whatever their form.
constexpr int kCountry = 1087;

struct ControlText
{
    int id;
    const char* text;
};
// The run-time texts of the group boxes, radio buttons and check boxes.
constexpr ControlText kTexts[] = {
    {1071, "Vis melding ved Ring"},
    {1047, "Alltid"},
    {1048, "Hvis Innringer ble gjenkjent"},
    {1049, "Aldri"},
    {1072, "Lukk meldingen"},
    {1050, "Aldri"},
    {1051, "Etter (sekunder):"},
    {1073, "Gi et PIP ved ring"},
    {1052, "Alltid"},
    {1053, "Hvis Innringer blir gjenkjent"},
    {1054, "Hvis ingen personlig lyd ligger inne"},
    {1055, "Aldri"},
    {1074, "MSN'er"},
    {1040, "Logg alle MSN'er"},
    {1044, "Logg MSN 1:"},
    {1045, "Logg MSN 2:"},
    {1046, "Logg MSN 3:"},
    {1075, "Personlige Alarmer"},
    {1008, "Spill Personlig Alarm"},
    {1056, "Spill intro:"},
    {1062, "Spill outro:"},
    {1080, "Linje"},
    {1081, "CAPI (ISDN-kort, eller ruter med CAPI over TCP)"},
    {1082, "Ruterens samtalemonitor:"},
    {1085, "Vis varsel på skrivebordet"},
    {1086, "Land for telefonnumre:"},
    {1088, "Deling"},
    {1090, "Del anrop via MQTT"},
    {1103, "Megler:"},
    {1104, "Port:"},
    {1105, "Bruker:"},
    {1106, "Passord:"},
    {1095, "Bruk TLS"},
    {1107, "CA-fil:"},
    {1108, "Emne:"},
    {1098, "Meld til hjemmeautomasjon"},
    {1099, "Anrop fra en annen Ringvakt (MQTT)"},
    {1102, "Bare fra maskin:"},
};

// The controls whose clicks are commands of the dialog; the other choices
// and the intro and outro ticks are their own state.
constexpr int kCommandIds[] = {kOk,
                               kCancel,
                               kCloseNever,
                               kCloseAfter,
                               kLogAllMsns,
                               1044,
                               1045,
                               1046,
                               kPersonalSounds,
                               kIntroPlay,
                               kIntroRecord,
                               kOutroPlay,
                               kOutroRecord,
                               kIntroDelete,
                               kOutroDelete,
                               kLineCapiButton,
                               kLineMonitorButton,
                               kLineMqttButton,
                               SharingFields::kShare,
                               SharingFields::kTls,
                               SharingFields::kChooseCaFile};

// The delay field's text as a number of seconds: digits only, empty is 0.
// Nothing when the text is not a number that fits 32 bits.
std::optional<uint32_t> delayFromText(const QString& text)
{
    uint64_t value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + uint64_t(c.unicode() - '0');
        if (value > std::numeric_limits<uint32_t>::max())
            return std::nullopt;
    }
    return uint32_t(value);
}

} // namespace

SettingsDialog::SettingsDialog(QWidget* owner, const SettingsDialogParts& parts)
    // A caption and a frame, no system menu: the dialog ends through its own
    // buttons (a close button that a window manager adds takes Cancel).
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_parts(parts),
      m_sharing(this)
{
    dialogbuilder::build(this, DialogTemplate::load(kTemplateId));
    for (int id : kCommandIds) {
        auto* button = dialogbuilder::control<QAbstractButton>(this, id);
        connect(button, &QAbstractButton::clicked, this, [this, id] { command(id); });
    }
    initialise();
}

QRadioButton* SettingsDialog::radio(int id) const
{
    return dialogbuilder::control<QRadioButton>(this, id);
}

QCheckBox* SettingsDialog::checkBox(int id) const
{
    return dialogbuilder::control<QCheckBox>(this, id);
}

QLineEdit* SettingsDialog::edit(int id) const
{
    return dialogbuilder::control<QLineEdit>(this, id);
}

void SettingsDialog::initialise()
{
    const Settings& s = m_parts.settings;
    setWindowTitle(QStringLiteral("Ringvakt Oppsett"));
    dialogbuilder::control<QPushButton>(this, kOk)->setText(QStringLiteral("OK"));
    dialogbuilder::control<QPushButton>(this, kCancel)->setText(QStringLiteral("Avbryt"));
    // The play, record and delete icons come with the template (123, 124,
    // 125), the same pictures the phone book's entry editor shows.

    for (const ControlText& t : kTexts) {
        QWidget* w = dialogbuilder::control(this, t.id);
        if (auto* box = qobject_cast<QGroupBox*>(w))
            box->setTitle(QString::fromUtf8(t.text));
        else if (auto* label = qobject_cast<QLabel*>(w))
            label->setText(QString::fromUtf8(t.text));
        else
            qobject_cast<QAbstractButton*>(w)->setText(QString::fromUtf8(t.text));
    }

    // A value outside a group's choices selects none of them.
    for (const ChoiceGroup& g : {kShowGroup, kCloseGroup, kBeepGroup}) {
        const int32_t value = s.*g.field;
        if (value >= 1 && value <= g.count)
            radio(g.ids[size_t(value - 1)])->setChecked(true);
        else
            dialogbuilder::clearRadioGroup(radio(g.ids[0]));
    }
    // The delay is writable unless "Aldri" is the close choice; with no
    // choice at all it stays writable.
    edit(kDelayField)->setReadOnly(s.MSG_CLOSE == MsgClose::Never);
    edit(kDelayField)->setText(QString::number(s.MSG_CLOSE_TIMEOUT));

    // Exactly 7 means every call, shown as "Logg alle MSN'er" alone; any
    // other value ticks the MSNs of its bits. The texts show either way.
    for (const MsnRow& row : kMsnRows) {
        QLineEdit* field = edit(row.fieldId);
        const bool selected = s.MSN_LOG != MsnLog::All && (s.MSN_LOG & row.bit) != 0;
        checkBox(row.boxId)->setChecked(selected);
        field->setReadOnly(!selected);
        // An MSN is stored with at most 19 characters: the field takes no
        // more, so that what the user sees is what is saved.
        field->setMaxLength(int(kMaxMsnLength));
        field->setText(cp1252::toQString(s.*row.text));
    }
    checkBox(kLogAllMsns)->setChecked(s.MSN_LOG == MsnLog::All);

    // With personal sounds off the intro and outro boxes are greyed, but
    // keep their ticks: they count again as soon as the sounds are on.
    checkBox(kPersonalSounds)->setChecked(s.PSOUND == PersonalSounds::On);
    checkBox(kPlayIntro)->setEnabled(s.PSOUND == PersonalSounds::On);
    checkBox(kPlayOutro)->setEnabled(s.PSOUND == PersonalSounds::On);
    checkBox(kPlayIntro)->setChecked(s.PSOUND_BEFORE == IntroOutro::On);
    checkBox(kPlayOutro)->setChecked(s.PSOUND_AFTER == IntroOutro::On);

    // The names are shown from their start (a field scrolled to the end of
    // "Outro.wav" would read "utro.wav").
    edit(kIntroName)->setText(cp1252::toQString(s.IntroFile));
    edit(kOutroName)->setText(cp1252::toQString(s.OutroFile));
    edit(kIntroName)->setCursorPosition(0);
    edit(kOutroName)->setCursorPosition(0);
    // The icon buttons say what they do, and to which file.
    const std::pair<int, QString> soundButtons[] = {
        {kIntroPlay, QStringLiteral("Spill av ") + edit(kIntroName)->text()},
        {kIntroRecord, QStringLiteral("Ta opp ") + edit(kIntroName)->text()},
        {kIntroDelete, QStringLiteral("Slett lydfilen ") + edit(kIntroName)->text()},
        {kOutroPlay, QStringLiteral("Spill av ") + edit(kOutroName)->text()},
        {kOutroRecord, QStringLiteral("Ta opp ") + edit(kOutroName)->text()},
        {kOutroDelete, QStringLiteral("Slett lydfilen ") + edit(kOutroName)->text()}};
    for (const auto& [id, name] : soundButtons)
        dialogbuilder::control<QPushButton>(this, id)->setAccessibleName(name);

    // The line: a value outside the choices selects none. The host and port
    // belong to the call monitor and can be edited only with it.
    if (s.LINE >= 1 && s.LINE <= kLineGroup.count)
        radio(kLineGroup.ids[size_t(s.LINE - 1)])->setChecked(true);
    else
        dialogbuilder::clearRadioGroup(radio(kLineGroup.ids[0]));
    edit(kMonitorHost)->setMaxLength(int(kMaxHostLength));
    edit(kMonitorHost)->setText(cp1252::toQString(s.CALLMONITOR_HOST));
    edit(kMonitorPort)->setMaxLength(5);
    edit(kMonitorPort)->setText(QString::number(s.CALLMONITOR_PORT));
    m_sharing.show(s);
    updateMonitorFields();

    checkBox(kNotify)->setChecked(s.NOTIFY == Notify::On);
    fillCountries(QString::fromStdString(s.COUNTRY));

    dialogbuilder::fit(this);
    // The call monitor's fields follow the radio buttons, not their label.
    edit(kMonitorHost)->setAccessibleName(QStringLiteral("Ruterens samtalemonitor"));
    edit(kMonitorPort)->setAccessibleName(QStringLiteral("Port"));
    dialogbuilder::nameFieldsAfterLabels(this);
}

void SettingsDialog::fillCountries(const QString& current)
{
    // Each country by its own name, as its people write it, with the code
    // that tells apart the names a font cannot show; sorted by name.
    QList<std::pair<QString, QString>> countries;
    for (const QString& code : PhoneNumbers::knownCountries()) {
        const QLocale::Territory territory = QLocale::codeToTerritory(code);
        QString name;
        if (territory != QLocale::AnyTerritory) {
            name = QLocale(QLocale::AnyLanguage, territory).nativeTerritoryName();
            if (name.isEmpty())
                name = QLocale::territoryToString(territory);
        }
        name = name.isEmpty() ? code : name + QStringLiteral(" (") + code + QLatin1Char(')');
        countries.append({name, code});
    }
    std::sort(countries.begin(), countries.end(), [](const auto& a, const auto& b) {
        return QString::localeAwareCompare(a.first, b.first) < 0;
    });
    QComboBox* combo = dialogbuilder::control<QComboBox>(this, kCountry);
    for (const auto& [name, code] : countries)
        combo->addItem(name, code);
    // A stored code that no longer names a country stays as it is, shown
    // as it stands, until the user picks another.
    int index = combo->findData(current);
    if (index < 0) {
        combo->insertItem(0, current, current);
        index = 0;
    }
    combo->setCurrentIndex(index);
}

void SettingsDialog::updateMonitorFields()
{
    const bool monitor = radio(kLineMonitorButton)->isChecked();
    edit(kMonitorHost)->setEnabled(monitor);
    edit(kMonitorPort)->setEnabled(monitor);
    m_sharing.update(radio(kLineMqttButton)->isChecked());
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
    case kCloseNever:
    case kCloseAfter:
        updateDelayField();
        return;
    case kLogAllMsns:
        logAllMsns();
        return;
    case 1044:
    case 1045:
    case 1046:
        msnBoxClicked(id - 1044);
        return;
    case kPersonalSounds:
        personalSoundsClicked();
        return;
    case kLineCapiButton:
    case kLineMonitorButton:
    case kLineMqttButton:
    case SharingFields::kShare:
    case SharingFields::kTls:
        updateMonitorFields();
        return;
    case SharingFields::kChooseCaFile:
        m_sharing.chooseCaFile();
        return;
    case kIntroPlay:
    case kOutroPlay:
        introoutro::play(m_parts.sound, m_parts.dataDir, soundFileFor(id));
        return;
    case kIntroRecord:
    case kOutroRecord:
        introoutro::record(m_parts.recorder, m_parts.dataDir, soundFileFor(id));
        return;
    case kIntroDelete:
    case kOutroDelete:
        introoutro::remove(this, m_parts.dataDir, soundFileFor(id));
        return;
    default:
        return;
    }
}

const std::string& SettingsDialog::soundFileFor(int id) const
{
    const bool intro = id == kIntroPlay || id == kIntroRecord || id == kIntroDelete;
    return intro ? m_parts.settings.IntroFile : m_parts.settings.OutroFile;
}

void SettingsDialog::reject()
{
    command(kCancel);
}

void SettingsDialog::updateDelayField()
{
    edit(kDelayField)->setReadOnly(!radio(kCloseAfter)->isChecked());
}

void SettingsDialog::logAllMsns()
{
    // A click on the ticked box leaves it ticked.
    checkBox(kLogAllMsns)->setChecked(true);
    for (const MsnRow& row : kMsnRows) {
        checkBox(row.boxId)->setChecked(false);
        edit(row.fieldId)->setReadOnly(true);
    }
}

void SettingsDialog::msnBoxClicked(int index)
{
    const MsnRow& row = kMsnRows[size_t(index)];
    const bool ticked = checkBox(row.boxId)->isChecked();
    edit(row.fieldId)->setReadOnly(!ticked);
    // "Logg alle MSN'er" is ticked exactly when none of the three is.
    bool anyTicked = false;
    for (const MsnRow& r : kMsnRows)
        anyTicked = anyTicked || checkBox(r.boxId)->isChecked();
    checkBox(kLogAllMsns)->setChecked(!anyTicked);
}

void SettingsDialog::personalSoundsClicked()
{
    const bool on = checkBox(kPersonalSounds)->isChecked();
    checkBox(kPlayIntro)->setEnabled(on);
    checkBox(kPlayOutro)->setEnabled(on);
}

void SettingsDialog::showSettingsError(const QString& text)
{
    msgbox::inform(this, QStringLiteral("Error"), text);
}

void SettingsDialog::ok()
{
    // The checks, in this order; the first that fails is the only one
    // reported, and the dialog stays open with everything as it was.
    std::array<std::string, 3> msns;
    for (size_t n = 0; n < kMsnRows.size(); ++n) {
        msns[n] = cp1252::fromQString(edit(kMsnRows[n].fieldId)->text());
        if (msns[n].size() > kMaxMsnLength)
            msns[n].resize(kMaxMsnLength);
        if (msns[n].empty() && checkBox(kMsnRows[n].boxId)->isChecked()) {
            showSettingsError(QString::fromLatin1(kMsnRows[n].emptyMessage));
            return;
        }
    }
    // A number too large for 32 bits is too large, not 0: read as 0 it
    // would pass the check and silently replace what the user typed.
    const std::optional<uint32_t> delay = delayFromText(edit(kDelayField)->text());
    if (!delay || *delay > kMaxDelaySeconds) {
        showSettingsError(QStringLiteral("Message timeout to high !"));
        return;
    }

    // The call monitor needs somewhere to connect to. (With CAPI chosen its
    // fields are greyed and are kept as they stand.)
    const std::string host = cp1252::fromQString(edit(kMonitorHost)->text().trimmed());
    bool portOk = false;
    const int port = edit(kMonitorPort)->text().toInt(&portOk);
    portOk = portOk && port >= 1 && port <= 65535;
    if (radio(kLineMonitorButton)->isChecked()) {
        if (host.empty()) {
            showSettingsError(QStringLiteral("Check call monitor host !"));
            return;
        }
        if (!portOk) {
            showSettingsError(QStringLiteral("Check call monitor port !"));
            return;
        }
    }
    const QString sharingError = m_sharing.check(radio(kLineMqttButton)->isChecked());
    if (!sharingError.isEmpty()) {
        showSettingsError(sharingError);
        return;
    }

    // Everything at once, so that a call never sees half of the change. A
    // group with no choice leaves its setting as it was.
    Settings s = m_parts.settings;
    if (!host.empty())
        s.CALLMONITOR_HOST = host;
    if (portOk)
        s.CALLMONITOR_PORT = port;
    for (const ChoiceGroup& g : {kShowGroup, kCloseGroup, kBeepGroup, kLineGroup}) {
        for (int i = 0; i < g.count; ++i) {
            if (radio(g.ids[size_t(i)])->isChecked())
                s.*g.field = i + 1;
        }
    }
    s.MSG_CLOSE_TIMEOUT = *delay;
    s.MSN_LOG = checkBox(kLogAllMsns)->isChecked() ? MsnLog::All : MsnLog::None;
    for (size_t n = 0; n < kMsnRows.size(); ++n) {
        s.*kMsnRows[n].text = msns[n];
        if (checkBox(kMsnRows[n].boxId)->isChecked())
            s.MSN_LOG |= kMsnRows[n].bit;
    }
    // A greyed box counts by its tick.
    s.PSOUND = checkBox(kPersonalSounds)->isChecked() ? PersonalSounds::On : PersonalSounds::Off;
    s.PSOUND_BEFORE = checkBox(kPlayIntro)->isChecked() ? IntroOutro::On : IntroOutro::Off;
    s.PSOUND_AFTER = checkBox(kPlayOutro)->isChecked() ? IntroOutro::On : IntroOutro::Off;
    s.NOTIFY = checkBox(kNotify)->isChecked() ? Notify::On : Notify::Off;
    m_sharing.store(s);
    s.COUNTRY =
        dialogbuilder::control<QComboBox>(this, kCountry)->currentData().toString().toStdString();
    m_parts.settings = s;

    if (!SaveSettings(m_parts.settings, m_parts.store)) {
        // The new settings hold for this run all the same; the user must
        // know that the next start will not have them.
        msgbox::inform(this, QStringLiteral("Ringvakt"),
                       QStringLiteral("Oppsettet kunne ikke lagres.\n"
                                      "Endringene gjelder bare til Ringvakt avsluttes."));
    }
    done(1);
}
