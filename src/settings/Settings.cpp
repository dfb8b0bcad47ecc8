#include "settings/Settings.h"

#include "numbers/PhoneNumbers.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsTable.h"

std::string localeCountry()
{
    return PhoneNumbers::defaultCountry().toStdString();
}

Settings::Settings()
{
    SetDefaultSettings(*this);
}

void SetDefaultSettings(Settings& settings)
{
    for (const SettingDef& def : kSettingsTable) {
        switch (def.kind) {
        case SettingKind::Signed32:
            settings.*def.signedField = int32_t(def.defaultNumber);
            break;
        case SettingKind::Unsigned32:
            settings.*def.unsignedField = uint32_t(def.defaultNumber);
            break;
        case SettingKind::Text:
            settings.*def.textField = def.defaultTextOf ? def.defaultTextOf() : def.defaultText;
            break;
        }
    }
    settings.IntroFile = kIntroFileName;
    settings.OutroFile = kOutroFileName;
}

void LoadSettings(Settings& settings, SettingsStore& store)
{
    SetDefaultSettings(settings);

    bool created = false;
    if (!store.open(&created))
        return; // no store: run on the defaults, write nothing
    if (created) {
        // First start: store the defaults so that the user finds them.
        store.close();
        SaveSettings(settings, store);
        return;
    }

    // A value that is missing or unreadable keeps its default; the others
    // are still read. Only a setting with a range is checked (a port number
    // cut to 16 bits would connect somewhere else); for the others the
    // readers decide what an unexpected number means.
    for (const SettingDef& def : kSettingsTable) {
        switch (def.kind) {
        case SettingKind::Signed32:
            if (const auto value = store.readNumber(def.name)) {
                const int32_t number = static_cast<int32_t>(*value);
                if (number >= def.minNumber && number <= def.maxNumber)
                    settings.*def.signedField = number;
            }
            break;
        case SettingKind::Unsigned32:
            if (const auto value = store.readNumber(def.name))
                settings.*def.unsignedField = *value;
            break;
        case SettingKind::Text:
            if (auto value = store.readText(def.name, def.bufferSize))
                settings.*def.textField = std::move(*value);
            break;
        }
    }
    store.close();
}

bool SaveSettings(const Settings& settings, SettingsStore& store)
{
    bool created = false;
    if (!store.open(&created))
        return false;
    for (const SettingDef& def : kSettingsTable) {
        switch (def.kind) {
        case SettingKind::Signed32:
            store.writeSignedNumber(def.name, settings.*def.signedField);
            break;
        case SettingKind::Unsigned32:
            store.writeNumber(def.name, settings.*def.unsignedField);
            break;
        case SettingKind::Text:
            store.writeText(def.name, settings.*def.textField);
            break;
        }
    }
    return store.close();
}
