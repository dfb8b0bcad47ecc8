#include "settings/SharingFields.h"

#include "platform/Cp1252.h"
#include "platform/DialogBuilder.h"
#include "platform/FileChoice.h"
#include "settings/Settings.h"
#include "sharing/SharingConfig.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kHost = 1091;
constexpr int kPort = 1092;
constexpr int kUser = 1093;
constexpr int kPassword = 1094;
constexpr int kCaFile = 1096;
constexpr int kPrefix = 1097;
constexpr int kHomeAutomation = 1098;
constexpr int kHostFilter = 1100;
constexpr int kMaxPort = 65535;

std::string textOf(const QLineEdit* field)
{
    return cp1252::fromQString(field->text().trimmed());
}

} // namespace

SharingFields::SharingFields(QWidget* dialog) : m_dialog(dialog) {}

QLineEdit* SharingFields::edit(int id) const
{
    return dialogbuilder::control<QLineEdit>(m_dialog, id);
}

QCheckBox* SharingFields::box(int id) const
{
    return dialogbuilder::control<QCheckBox>(m_dialog, id);
}

void SharingFields::show(const Settings& s)
{
    const std::pair<int, size_t> lengths[] = {
        {kHost, kMaxHostLength},         {kUser, kMaxMqttTextLength},
        {kPassword, kMaxMqttTextLength}, {kCaFile, kMaxPathLength},
        {kPrefix, kMaxMqttTextLength},   {kHostFilter, kMaxMqttTextLength}};
    for (const auto& [id, length] : lengths)
        edit(id)->setMaxLength(int(length));
    edit(kPort)->setMaxLength(5);
    edit(kPassword)->setEchoMode(QLineEdit::Password);
    // Told apart from the call monitor's port.
    edit(kPort)->setAccessibleName(tr("Meglerens port"));
    auto* choose = dialogbuilder::control<QPushButton>(m_dialog, kChooseCaFile);
    choose->setText(QString::fromUtf8("…"));
    choose->setAccessibleName(tr("Velg CA-fil"));

    box(kShare)->setChecked(s.MQTT == Sharing::On);
    box(kTls)->setChecked(s.MQTT_TLS == Sharing::On);
    box(kHomeAutomation)->setChecked(s.MQTT_HA == Sharing::On);
    edit(kHost)->setText(cp1252::toQString(s.MQTT_HOST));
    edit(kPort)->setText(QString::number(s.MQTT_PORT));
    edit(kUser)->setText(cp1252::toQString(s.MQTT_USER));
    edit(kPassword)->setText(cp1252::toQString(s.MQTT_PASSWORD));
    edit(kCaFile)->setText(cp1252::toQString(s.MQTT_CAFILE));
    edit(kCaFile)->setCursorPosition(0);
    edit(kPrefix)->setText(cp1252::toQString(s.MQTT_PREFIX));
    edit(kHostFilter)->setText(cp1252::toQString(s.MQTT_FILTER));
}

void SharingFields::update(bool mqttLine)
{
    // Calls received from another desktop are not passed on: while that is
    // the line, sharing is greyed and off, and comes back as it was when
    // another line is chosen.
    QCheckBox* shareBox = box(kShare);
    if (mqttLine && shareBox->isEnabled()) {
        m_shareBeforeMqttLine = shareBox->isChecked();
        shareBox->setChecked(false);
        shareBox->setEnabled(false);
    } else if (!mqttLine && !shareBox->isEnabled()) {
        shareBox->setEnabled(true);
        shareBox->setChecked(m_shareBeforeMqttLine);
    }
    const bool share = shareBox->isChecked();
    const bool broker = share || mqttLine;
    for (int id : {kHost, kPort, kUser, kPassword, kPrefix})
        edit(id)->setEnabled(broker);
    box(kTls)->setEnabled(broker);
    const bool tls = broker && box(kTls)->isChecked();
    edit(kCaFile)->setEnabled(tls);
    dialogbuilder::control<QPushButton>(m_dialog, kChooseCaFile)->setEnabled(tls);
    box(kHomeAutomation)->setEnabled(share);
    edit(kHostFilter)->setEnabled(mqttLine);
}

FieldProblem SharingFields::check(bool mqttLine) const
{
    if (!box(kShare)->isChecked() && !mqttLine)
        return {};
    if (textOf(edit(kHost)).empty())
        return {tr("Check MQTT broker !"), edit(kHost)};
    bool portOk = false;
    const int port = edit(kPort)->text().toInt(&portOk);
    if (!portOk || port < 1 || port > kMaxPort)
        return {tr("Check MQTT port !"), edit(kPort)};
    // A CA file that is not there would only show as a broker that cannot
    // be reached, much later.
    const QString caFile = edit(kCaFile)->text().trimmed();
    if (box(kTls)->isChecked() && !caFile.isEmpty() && !QFileInfo(caFile).isFile())
        return {tr("Check MQTT CA file !"), edit(kCaFile)};
    // What a topic cannot hold is said, not silently changed.
    if (!SharingConfig::isTopicPrefix(edit(kPrefix)->text()))
        return {tr("Check MQTT topic ! It cannot hold # or +, an empty level, or "
                   "spaces at its ends."),
                edit(kPrefix)};
    return {};
}

void SharingFields::store(Settings& s) const
{
    s.MQTT = box(kShare)->isChecked() ? Sharing::On : Sharing::Off;
    s.MQTT_TLS = box(kTls)->isChecked() ? Sharing::On : Sharing::Off;
    s.MQTT_HA = box(kHomeAutomation)->isChecked() ? Sharing::On : Sharing::Off;
    s.MQTT_HOST = textOf(edit(kHost));
    bool portOk = false;
    const int port = edit(kPort)->text().toInt(&portOk);
    if (portOk && port >= 1 && port <= kMaxPort)
        s.MQTT_PORT = port;
    s.MQTT_USER = cp1252::fromQString(edit(kUser)->text());
    // A password is taken as typed: spaces may belong to it.
    s.MQTT_PASSWORD = cp1252::fromQString(edit(kPassword)->text());
    s.MQTT_CAFILE = textOf(edit(kCaFile));
    s.MQTT_PREFIX = textOf(edit(kPrefix));
    s.MQTT_FILTER = textOf(edit(kHostFilter));
}

void SharingFields::chooseCaFile()
{
    const QString path = filechoice::openFile(
        m_dialog, tr("Velg CA-sertifikat"), tr("Sertifikater (*.pem *.crt *.cer);;Alle filer (*)"));
    if (path.isEmpty())
        return;
    edit(kCaFile)->setText(path);
    edit(kCaFile)->setCursorPosition(0);
}
