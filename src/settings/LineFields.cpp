#include "settings/LineFields.h"

#include "numbers/CountryNames.h"
#include "platform/Cp1252.h"

#include <QComboBox>
#include <QCompleter>
#include <QLocale>

namespace {

constexpr ChoiceGroup kLineGroup{
    {LineFields::kCapi, LineFields::kMonitor, LineFields::kMqtt}, 3, &Settings::LINE};
constexpr int kMonitorHost = 1083;
constexpr int kMonitorPort = 1084;
constexpr int kCountry = 1087;

} // namespace

LineFields::LineFields(QWidget* dialog) : FieldGroup(dialog) {}

void LineFields::show(const Settings& s)
{
    // A value outside the choices selects none.
    showChoice(kLineGroup, s);
    edit(kMonitorHost)->setMaxLength(int(kMaxHostLength));
    edit(kMonitorHost)->setText(cp1252::toQString(s.CALLMONITOR_HOST));
    edit(kMonitorPort)->setMaxLength(5);
    edit(kMonitorPort)->setText(QString::number(s.CALLMONITOR_PORT));
    // The call monitor's fields follow the radio buttons, not their label.
    edit(kMonitorHost)->setAccessibleName(tr("Ruterens samtalemonitor"));
    edit(kMonitorPort)->setAccessibleName(tr("Samtalemonitorens port"));
    fillCountries(QString::fromStdString(s.COUNTRY));
}

void LineFields::fillCountries(const QString& current)
{
    // Each country named in the user's language, with its code; sorted as
    // the language sorts. Typing any part of a name or a code finds it.
    auto* combo = control<QComboBox>(kCountry);
    for (const CountryName& country : countryNames(QLocale().uiLanguages().value(0))) {
        combo->addItem(country.name + QStringLiteral(" (") + country.code + QLatin1Char(')'),
                       country.code);
    }
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    auto* completer = new QCompleter(combo->model(), combo);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    combo->setCompleter(completer);
    // A stored code that no longer names a country stays as it is, shown
    // as it stands, until the user picks another.
    int index = combo->findData(current);
    if (index < 0) {
        combo->insertItem(0, current, current);
        index = 0;
    }
    combo->setCurrentIndex(index);
    // Named after its label: an editable list would otherwise be known by
    // what it holds.
    combo->setAccessibleName(tr("Land for telefonnumre"));
}

std::optional<QString> LineFields::countryCode() const
{
    const auto* combo = control<QComboBox>(kCountry);
    const QString typed = combo->currentText().trimmed();
    int index = combo->findText(typed, Qt::MatchFixedString);
    if (index < 0)
        index = combo->findData(typed.toUpper());
    if (index < 0)
        return std::nullopt;
    return combo->itemData(index).toString();
}

void LineFields::update()
{
    const bool monitor = radio(kMonitor)->isChecked();
    edit(kMonitorHost)->setEnabled(monitor);
    edit(kMonitorPort)->setEnabled(monitor);
}

bool LineFields::mqttLine() const
{
    return radio(kMqtt)->isChecked();
}

std::string LineFields::host() const
{
    return cp1252::fromQString(edit(kMonitorHost)->text().trimmed());
}

std::optional<int> LineFields::port() const
{
    bool ok = false;
    const int port = edit(kMonitorPort)->text().toInt(&ok);
    if (!ok || port < 1 || port > 65535)
        return std::nullopt;
    return port;
}

FieldProblem LineFields::check() const
{
    // A country typed that the list does not have.
    if (!countryCode())
        return {tr("Check country !"), control<QComboBox>(kCountry)};
    // The call monitor needs somewhere to connect to. (With CAPI chosen its
    // fields are greyed and are kept as they stand.)
    if (!radio(kMonitor)->isChecked())
        return {};
    if (host().empty())
        return {tr("Check call monitor host !"), edit(kMonitorHost)};
    if (!port())
        return {tr("Check call monitor port !"), edit(kMonitorPort)};
    return {};
}

void LineFields::store(Settings& s) const
{
    storeChoice(kLineGroup, s);
    if (const std::string h = host(); !h.empty())
        s.CALLMONITOR_HOST = h;
    if (const std::optional<int> p = port())
        s.CALLMONITOR_PORT = *p;
    if (const std::optional<QString> code = countryCode())
        s.COUNTRY = code->toStdString();
}
