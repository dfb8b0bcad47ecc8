#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsTable.h"
#include "support/IniGroup.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

// The values of the group as the INI file holds them, name=value, in file
// order. The file is the truth: this does not go through QSettings.
std::vector<std::string> storedValues(const std::string& ini)
{
    std::vector<std::string> values = test::iniGroupLines(ini);
    std::sort(values.begin(), values.end());
    return values;
}

Settings loadFrom(const test::TempDataDir& dir, const std::string& ini)
{
    dir.write("Ringvakt.ini", ini);
    IniSettingsStore store(dir.file("Ringvakt.ini"));
    Settings settings;
    LoadSettings(settings, store);
    return settings;
}

void expectDefaults(const Settings& s)
{
    EXPECT_EQ(s.MSG_SHOW, 1);
    EXPECT_EQ(s.MSG_CLOSE, 1);
    EXPECT_EQ(s.MSG_CLOSE_TIMEOUT, 5u);
    EXPECT_EQ(s.BEEP, 1);
    EXPECT_EQ(s.MSN_LOG, 7);
    EXPECT_EQ(s.PSOUND, 1);
    EXPECT_EQ(s.PSOUND_BEFORE, 2);
    EXPECT_EQ(s.PSOUND_AFTER, 2);
    EXPECT_EQ(s.MSN_1, "");
    EXPECT_EQ(s.MSN_2, "");
    EXPECT_EQ(s.MSN_3, "");
    EXPECT_EQ(s.LINE, 1);
    EXPECT_EQ(s.CALLMONITOR_HOST, "fritz.box");
    EXPECT_EQ(s.CALLMONITOR_PORT, 1012);
    EXPECT_EQ(s.NOTIFY, 1);
    EXPECT_EQ(s.COUNTRY, localeCountry());
    EXPECT_EQ(s.LANGUAGE, "");
    EXPECT_EQ(s.IntroFile, "Intro.wav");
    EXPECT_EQ(s.OutroFile, "Outro.wav");
}

const std::vector<std::string> kDefaultValues = {
    "BEEP=1",
    "CALLMONITOR_HOST=fritz.box",
    "CALLMONITOR_PORT=1012",
    "COUNTRY=" + localeCountry(),
    "LANGUAGE=",
    "LINE=1",
    "MQTT=1",
    "MQTT_CAFILE=",
    "MQTT_FILTER=",
    "MQTT_HA=2",
    "MQTT_HOST=",
    "MQTT_NAME=",
    "MQTT_PASSWORD=",
    "MQTT_PORT=1883",
    "MQTT_PREFIX=ringvakt",
    "MQTT_TLS=1",
    "MQTT_USER=",
    "MSG_CLOSE=1",
    "MSG_CLOSE_TIMEOUT=5",
    "MSG_SHOW=1",
    "MSN_1=",
    "MSN_2=",
    "MSN_3=",
    "MSN_LOG=7",
    "NOTIFY=1",
    "PSOUND=1",
    "PSOUND_AFTER=2",
    "PSOUND_BEFORE=2",
    "VOICEMAIL_EXTENSIONS=40-49",
};

} // namespace

TEST(SettingsTable, HoldsTheStoredValuesInWritingOrder)
{
    std::vector<std::string> names;
    for (const SettingDef& def : kSettingsTable)
        names.push_back(def.name);
    EXPECT_EQ(names, (std::vector<std::string>{"MSG_SHOW",
                                               "MSG_CLOSE",
                                               "MSG_CLOSE_TIMEOUT",
                                               "BEEP",
                                               "MSN_LOG",
                                               "PSOUND",
                                               "PSOUND_BEFORE",
                                               "PSOUND_AFTER",
                                               "MSN_1",
                                               "MSN_2",
                                               "MSN_3",
                                               "LINE",
                                               "CALLMONITOR_HOST",
                                               "CALLMONITOR_PORT",
                                               "NOTIFY",
                                               "COUNTRY",
                                               "MQTT",
                                               "MQTT_HOST",
                                               "MQTT_PORT",
                                               "MQTT_USER",
                                               "MQTT_PASSWORD",
                                               "MQTT_TLS",
                                               "MQTT_CAFILE",
                                               "MQTT_PREFIX",
                                               "MQTT_HA",
                                               "MQTT_FILTER",
                                               "MQTT_NAME",
                                               "VOICEMAIL_EXTENSIONS",
                                               "LANGUAGE"}));

    Settings changed;
    changed.MSG_SHOW = 3;
    changed.MSG_CLOSE_TIMEOUT = 77;
    changed.MSN_2 = "55";
    changed.CALLMONITOR_HOST = "router";
    changed.LINE = 2;
    changed.IntroFile = "other.wav";
    SetDefaultSettings(changed);
    expectDefaults(changed);
}

TEST(LoadSettings, FirstStartWritesTheDefaults)
{
    test::TempDataDir dir;
    IniSettingsStore store(dir.file("config/Tornholt/Ringvakt.ini"));
    Settings settings;
    settings.BEEP = 4;
    LoadSettings(settings, store);
    expectDefaults(settings);
    EXPECT_EQ(storedValues(dir.read("config/Tornholt/Ringvakt.ini")), kDefaultValues);

    // The second start finds the key and reads it.
    bool created = true;
    ASSERT_TRUE(store.open(&created));
    EXPECT_FALSE(created);
    store.close();
}

TEST(LoadSettings, APresentButEmptyKeyLoadsDefaultsAndWritesNothing)
{
    test::TempDataDir dir;
    const std::string ini = "[V1.51]\r\n";
    const Settings settings = loadFrom(dir, ini);
    expectDefaults(settings);
    EXPECT_EQ(dir.read("Ringvakt.ini"), ini);
}

TEST(LoadSettings, ReadsEveryValueWithoutRangeChecks)
{
    test::TempDataDir dir;
    const Settings s = loadFrom(dir, "[V1.51]\n"
                                     "MSG_SHOW=9\n"
                                     "MSG_CLOSE=-2\n"
                                     "MSG_CLOSE_TIMEOUT=5000\n"
                                     "BEEP=4\n"
                                     "MSN_LOG=3\n"
                                     "PSOUND=2\n"
                                     "PSOUND_BEFORE=1\n"
                                     "PSOUND_AFTER=-2147483648\n"
                                     "MSN_1=123\n"
                                     "MSN_2=1234567890123456789\n"
                                     "MSN_3=\xC3\xA6\xE2\x82\xAC\n" // æ€ in UTF-8
                                     "IntroFile=evil.wav\n"
                                     "OutroFile=../../x\n");
    EXPECT_EQ(s.MSG_SHOW, 9);
    EXPECT_EQ(s.MSG_CLOSE, -2);
    EXPECT_EQ(s.MSG_CLOSE_TIMEOUT, 5000u);
    EXPECT_EQ(s.BEEP, 4);
    EXPECT_EQ(s.MSN_LOG, 3);
    EXPECT_EQ(s.PSOUND, 2);
    EXPECT_EQ(s.PSOUND_BEFORE, 1);
    EXPECT_EQ(s.PSOUND_AFTER, INT32_MIN);
    EXPECT_EQ(s.MSN_1, "123");
    EXPECT_EQ(s.MSN_2, "1234567890123456789"); // 19 characters fit
    EXPECT_EQ(s.MSN_3, "\xE6\x80");            // code page 1252 bytes
    EXPECT_EQ(s.IntroFile, "Intro.wav");
    EXPECT_EQ(s.OutroFile, "Outro.wav");
}

TEST(LoadSettings, AnUnreadableValueKeepsItsDefaultAndTheOthersLoad)
{
    test::TempDataDir dir;
    const std::string ini = "[V1.51]\n"
                            "MSG_SHOW=garbage\n"
                            "MSG_CLOSE=2\n"
                            "MSG_CLOSE_TIMEOUT=4294967296\n" // one more than 32 bits
                            "BEEP=1.5\n"
                            "MSN_LOG=-2147483649\n"
                            "PSOUND=0x2\n"
                            "PSOUND_BEFORE=1, 2\n"
                            "PSOUND_AFTER=1\n"
                            "MSN_1=12345678901234567890123456\n" // 25 characters
                            "MSN_2=\xCE\xA9\n"                   // Ω: not in code page 1252
                            "MSN_3=77\n";
    const Settings s = loadFrom(dir, ini);
    EXPECT_EQ(s.MSG_SHOW, 1);
    EXPECT_EQ(s.MSG_CLOSE, 2);
    EXPECT_EQ(s.MSG_CLOSE_TIMEOUT, 5u);
    EXPECT_EQ(s.BEEP, 1);
    EXPECT_EQ(s.MSN_LOG, 7);
    EXPECT_EQ(s.PSOUND, 1);
    EXPECT_EQ(s.PSOUND_BEFORE, 2);
    EXPECT_EQ(s.PSOUND_AFTER, 1);
    EXPECT_EQ(s.MSN_1, "");
    EXPECT_EQ(s.MSN_2, "");
    EXPECT_EQ(s.MSN_3, "77");
    // Nothing is written back at load.
    EXPECT_EQ(dir.read("Ringvakt.ini"), ini);
}

TEST(LoadSettings, AStoreThatCannotBeOpenedKeepsDefaultsAndWritesNothing)
{
    test::TempDataDir dir;
    // Malformed: QSettings reports a format error.
    const std::string malformed = "[V1.51\nMSG_SHOW=3\n";
    expectDefaults(loadFrom(dir, malformed));
    EXPECT_EQ(dir.read("Ringvakt.ini"), malformed);

    // Not a file at all.
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.ini"));
    IniSettingsStore store(dir.file("folder.ini"));
    Settings settings;
    settings.MSG_SHOW = 3;
    LoadSettings(settings, store);
    expectDefaults(settings);
    EXPECT_FALSE(SaveSettings(settings, store));
    EXPECT_TRUE(QFileInfo(dir.file("folder.ini")).isDir());
}

TEST(SaveSettings, WritesEveryValueAndReadsBackTheSame)
{
    test::TempDataDir dir;
    IniSettingsStore store(dir.file("Ringvakt.ini"));
    Settings saved;
    SetDefaultSettings(saved);
    saved.MSG_SHOW = -1;
    saved.MSG_CLOSE = 2;
    saved.MSG_CLOSE_TIMEOUT = 4294967295u;
    saved.MSN_LOG = 5;
    saved.PSOUND_AFTER = -70000;
    saved.MSN_1 = "123";
    saved.MSN_3 = "\xC6\xD8\xC5";
    saved.COUNTRY = "DE";
    ASSERT_TRUE(SaveSettings(saved, store));

    const std::string ini = dir.read("Ringvakt.ini");
    const std::vector<std::string> values = storedValues(ini);
    EXPECT_EQ(values.size(), kSettingsTable.size());
    EXPECT_NE(std::find(values.begin(), values.end(), "MSG_SHOW=-1"), values.end()) << ini;
    EXPECT_NE(std::find(values.begin(), values.end(), "PSOUND_AFTER=-70000"), values.end()) << ini;
    EXPECT_NE(std::find(values.begin(), values.end(), "MSG_CLOSE_TIMEOUT=4294967295"), values.end())
        << ini;

    // A new store object on the same file, as at the next start.
    IniSettingsStore again(dir.file("Ringvakt.ini"));
    Settings loaded;
    LoadSettings(loaded, again);
    EXPECT_EQ(loaded.MSG_SHOW, -1);
    EXPECT_EQ(loaded.MSG_CLOSE, 2);
    EXPECT_EQ(loaded.MSG_CLOSE_TIMEOUT, 4294967295u);
    EXPECT_EQ(loaded.MSN_LOG, 5);
    EXPECT_EQ(loaded.PSOUND_AFTER, -70000);
    EXPECT_EQ(loaded.MSN_1, "123");
    EXPECT_EQ(loaded.MSN_2, "");
    EXPECT_EQ(loaded.MSN_3, "\xC6\xD8\xC5");
    EXPECT_EQ(loaded.COUNTRY, "DE");
    // Saving left the file as it was.
    EXPECT_EQ(dir.read("Ringvakt.ini"), ini);
}

TEST(SaveSettings, FailsWhenTheFileCannotBeWritten)
{
    test::TempDataDir dir;
    dir.write("blocker", "a file where the folder should be");
    IniSettingsStore store(dir.file("blocker/Ringvakt.ini"));
    Settings settings;
    SetDefaultSettings(settings);
    EXPECT_FALSE(SaveSettings(settings, store));
    // At start-up the same store leaves the defaults in force.
    settings.BEEP = 3;
    LoadSettings(settings, store);
    expectDefaults(settings);
    EXPECT_EQ(dir.read("blocker"), "a file where the folder should be");
}

TEST(SettingsLoadTest, APortOutOfRangeLoadsAsTheDefault)
{
    // Cut to 16 bits, the first two would connect to 35917 and 65535.
    for (const char* port : {"101453", "-1", "0", "65536"}) {
        test::TempDataDir dir;
        const Settings s = loadFrom(dir, std::string("[V1.51]\nCALLMONITOR_PORT=") + port + "\n");
        EXPECT_EQ(s.CALLMONITOR_PORT, 1012) << port;
    }
    test::TempDataDir dir;
    EXPECT_EQ(loadFrom(dir, "[V1.51]\nCALLMONITOR_PORT=65535\n").CALLMONITOR_PORT, 65535);
}
