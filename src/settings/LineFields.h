#pragma once

#include "settings/FieldGroup.h"
#include "settings/SharingFields.h"

#include <QCoreApplication>
#include <QString>
#include <optional>
#include <string>

// The settings dialog's "Linje", and the home country below it: the line
// is CAPI, the router's call monitor at a host and port, or the calls
// other desktops share over MQTT; the home country is the one whose
// numbers are matched whatever their form. The call monitor's host and
// port can be edited only while it is the line.
class LineFields : public FieldGroup
{
    // The texts of every group belong to the dialog's one context.
    Q_DECLARE_TR_FUNCTIONS(SettingsDialog)

public:
    explicit LineFields(QWidget* dialog);

    // Fills the fields from the settings; once, when the dialog opens.
    void show(const Settings& s);
    // Greys the call monitor's fields unless it is the line.
    void update();
    // True when the calls of other desktops are the line.
    bool mqttLine() const;
    // The message that stops OK, or an empty text.
    FieldProblem check() const;
    // The fields into the settings record (the call monitor's as long as
    // they hold something to connect to, greyed or not).
    void store(Settings& s) const;

    // The ids of the line's choices, whose clicks change what is greyed.
    static constexpr int kCapi = 1081;
    static constexpr int kMonitor = 1082;
    static constexpr int kMqtt = SharingFields::kMqttLine;

private:
    void fillCountries(const QString& current);
    // The code of the country chosen, or of the one whose name (or code)
    // was typed; nothing for a text the list does not have.
    std::optional<QString> countryCode() const;
    // The call monitor's host as it is stored, and its port when the
    // field holds one.
    std::string host() const;
    std::optional<int> port() const;
};
