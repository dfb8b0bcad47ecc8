#pragma once

#include "settings/Settings.h"
#include "settings/SettingsDialog.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsTable.h"
#include "support/FakeRecorderStarter.h"
#include "support/FakeSoundOutput.h"
#include "support/QtPrinting.h"
#include "support/TempDataDir.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace test {

// The values of the settings group as the INI file holds them, name to
// value text. Read from the file itself, not through QSettings.
std::map<std::string, std::string> storedValues(const std::string& ini);

// The stored settings in writing order, "name=value" joined by blanks: from
// the record, or from the values an INI file holds ("-" for a missing one).
std::string summary(const Settings& settings);
std::string summary(const std::map<std::string, std::string>& values);

// The sharing settings and the ones after them as they start, at the end
// of a summary.
inline const char* const kSharingDefaults =
    " MQTT=1 MQTT_HOST= MQTT_PORT=1883 MQTT_USER= MQTT_PASSWORD= MQTT_TLS=1 MQTT_CAFILE= "
    "MQTT_PREFIX=ringvakt MQTT_HA=2 MQTT_FILTER= MQTT_NAME= VOICEMAIL_EXTENSIONS=40-49 "
    "LANGUAGE=";

// One settings dialog on real widgets, over a settings record loaded from a
// temporary settings file, a recording sound output and recorder. Message
// boxes are recorded and answered by the test.
class DialogFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes these "NAME=value" lines into the settings group and loads them
    // as the program does at start; remembers the file's bytes.
    void loadStored(const std::string& lines);
    // A new dialog on the current record, shown.
    SettingsDialog& openDialog();

    QRadioButton* radio(int id) const;
    QCheckBox* box(int id) const;
    QLineEdit* field(int id) const;
    // A click on the control, as the user's (it toggles a check box).
    void click(int id) const;

    std::string storedFile() const { return dir.read("Ringvakt.ini"); }
    std::map<std::string, std::string> stored() const { return storedValues(storedFile()); }
    // The stored values as summary() gives them.
    std::string storedSummary() const { return summary(stored()); }
    // True when the settings file still holds what loadStored() left.
    bool fileUnchanged() const { return storedFile() == m_loaded; }
    // The texts of the message boxes shown so far, "caption: text".
    QStringList boxes() const;

    TempDataDir dir;
    std::unique_ptr<IniSettingsStore> store;
    Settings settings;
    FakeSoundOutput sound;
    FakeRecorderStarter recorder;
    std::unique_ptr<SettingsDialog> dialog;

private:
    std::string m_loaded;
};

} // namespace test
