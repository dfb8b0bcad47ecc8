#include "settings/LineFields.h"

#include "numbers/PhoneNumbers.h"
#include "platform/Cp1252.h"

#include <QComboBox>
#include <QLocale>
#include <algorithm>
#include <utility>

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
    edit(kMonitorHost)->setAccessibleName(QStringLiteral("Ruterens samtalemonitor"));
    edit(kMonitorPort)->setAccessibleName(QStringLiteral("Port"));
    fillCountries(QString::fromStdString(s.COUNTRY));
}

void LineFields::fillCountries(const QString& current)
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
    auto* combo = control<QComboBox>(kCountry);
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

QString LineFields::check() const
{
    // The call monitor needs somewhere to connect to. (With CAPI chosen its
    // fields are greyed and are kept as they stand.)
    if (!radio(kMonitor)->isChecked())
        return {};
    if (host().empty())
        return QStringLiteral("Check call monitor host !");
    if (!port())
        return QStringLiteral("Check call monitor port !");
    return {};
}

void LineFields::store(Settings& s) const
{
    storeChoice(kLineGroup, s);
    if (const std::string h = host(); !h.empty())
        s.CALLMONITOR_HOST = h;
    if (const std::optional<int> p = port())
        s.CALLMONITOR_PORT = *p;
    s.COUNTRY = control<QComboBox>(kCountry)->currentData().toString().toStdString();
}
