#include "DialogFixture.h"
#include "platform/DialogBuilder.h"
#include "platform/MessageBoxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using test::DialogFixture;

namespace {

class SettingsLineTest : public DialogFixture
{};

} // namespace

TEST_F(SettingsLineTest, LineChoiceWithItsHostAndPort)
{
    loadStored("LINE=2\nCALLMONITOR_HOST=router.lan\nCALLMONITOR_PORT=4012\n");
    openDialog();
    EXPECT_FALSE(radio(1081)->isChecked());
    EXPECT_TRUE(radio(1082)->isChecked());
    EXPECT_EQ(radio(1081)->text(), "CAPI (ISDN-kort, eller ruter med CAPI over TCP)");
    EXPECT_EQ(radio(1082)->text(), "Ruterens samtalemonitor:");
    EXPECT_EQ(field(1083)->text(), "router.lan");
    EXPECT_EQ(field(1084)->text(), "4012");
    EXPECT_TRUE(field(1083)->isEnabled());

    // CAPI greys the host and port; the call monitor opens them again.
    click(1081);
    EXPECT_FALSE(field(1083)->isEnabled());
    EXPECT_FALSE(field(1084)->isEnabled());
    click(1082);
    EXPECT_TRUE(field(1084)->isEnabled());

    field(1083)->setText("fritz.box");
    field(1084)->setText("1012");
    click(1);
    EXPECT_EQ(stored()["LINE"], "2");
    EXPECT_EQ(stored()["CALLMONITOR_HOST"], "fritz.box");
    EXPECT_EQ(stored()["CALLMONITOR_PORT"], "1012");
    EXPECT_EQ(settings.LINE, 2);
}

TEST_F(SettingsLineTest, CallMonitorNeedsAHostAndAPort)
{
    loadStored("LINE=1\n");
    openDialog();
    EXPECT_TRUE(radio(1081)->isChecked());
    EXPECT_EQ(field(1083)->text(), "fritz.box");
    click(1082);

    field(1083)->setText("  ");
    click(1);
    field(1083)->setText("fritz.box");
    for (const char* port : {"", "0", "65536", "99999"}) {
        field(1084)->setText(port);
        click(1);
    }
    EXPECT_EQ(boxes(),
              QStringList({"Error: Check call monitor host !", "Error: Check call monitor port !",
                           "Error: Check call monitor port !", "Error: Check call monitor port !",
                           "Error: Check call monitor port !"}));
    EXPECT_TRUE(fileUnchanged());
    EXPECT_TRUE(dialog->isVisible());

    // The checks come after the older ones: an empty ticked MSN first.
    click(1044);
    field(1084)->setText("0");
    click(1);
    EXPECT_EQ(boxes().last(), "Error: Check MSN 1 !");

    click(1040);
    field(1084)->setText("65535");
    click(1);
    EXPECT_EQ(stored()["CALLMONITOR_PORT"], "65535");
}

TEST_F(SettingsLineTest, WithCapiChosenTheGreyedFieldsAreNotChecked)
{
    loadStored("LINE=1\nCALLMONITOR_PORT=4711\n");
    openDialog();
    EXPECT_EQ(field(1084)->text(), "4711");
    field(1084)->setText("70000");
    click(1);
    EXPECT_TRUE(boxes().isEmpty());
    EXPECT_EQ(stored()["LINE"], "1");
    EXPECT_EQ(stored()["CALLMONITOR_PORT"], "4711") << "a port that is none is never stored";
}

TEST_F(SettingsLineTest, AnUnknownLineSelectsNeither)
{
    loadStored("LINE=5\n");
    openDialog();
    EXPECT_FALSE(radio(1081)->isChecked());
    EXPECT_FALSE(radio(1082)->isChecked());
    EXPECT_FALSE(field(1083)->isEnabled());
    click(1);
    EXPECT_EQ(stored()["LINE"], "5");
}

TEST_F(SettingsLineTest, DesktopNotifications)
{
    loadStored("NOTIFY=2\n");
    openDialog();
    EXPECT_TRUE(box(1085)->isChecked());
    EXPECT_EQ(box(1085)->text(), "Vis varsel på skrivebordet");
    click(1085);
    click(1);
    EXPECT_EQ(stored()["NOTIFY"], "1");
    openDialog();
    click(1085);
    click(1);
    EXPECT_EQ(stored()["NOTIFY"], "2");
    EXPECT_EQ(settings.NOTIFY, 2);
}

TEST_F(SettingsLineTest, HomeCountryNamedInTheUsersLanguageAndFoundByAnyPartOfItsName)
{
    loadStored("COUNTRY=NO\n");
    const auto countries = [this](const char* language) {
        QLocale::setDefault(QLocale(QString::fromLatin1(language)));
        SettingsDialog& d = openDialog();
        auto* country = dialogbuilder::control<QComboBox>(&d, 1087);
        QStringList names;
        for (int i = 0; i < country->count(); ++i)
            names << country->itemText(i);
        return names;
    };
    const QStringList norwegian = countries("nb");
    const QStringList english = countries("en");
    const QStringList german = countries("de");
    QLocale::setDefault(QLocale(QLocale::C));
    EXPECT_TRUE(norwegian.contains("USA (US)"));
    EXPECT_TRUE(norwegian.contains("Storbritannia (GB)"));
    EXPECT_TRUE(english.contains("United States (US)"));
    EXPECT_TRUE(english.contains("United Kingdom (GB)"));
    EXPECT_TRUE(german.contains("Vereinigte Staaten (US)"));
    // Sorted as each language sorts: Ø after Z in Norwegian, Ö with the O's
    // in German.
    EXPECT_GT(norwegian.indexOf("Østerrike (AT)"), norwegian.indexOf("Zimbabwe (ZW)"));
    EXPECT_LT(german.indexOf("Österreich (AT)"), german.indexOf("Polen (PL)"));

    // Typing any part of the name, or the code, finds the country; the list
    // is named after its label, which leads to it.
    QLocale::setDefault(QLocale(QStringLiteral("nb")));
    SettingsDialog& d = openDialog();
    QLocale::setDefault(QLocale(QLocale::C));
    auto* country = dialogbuilder::control<QComboBox>(&d, 1087);
    EXPECT_EQ(country->accessibleName(), "Land for telefonnumre");
    EXPECT_EQ(dialogbuilder::control<QLabel>(&d, 1086)->buddy(), country);
    EXPECT_EQ(country->currentText(), "Norge (NO)");
    const auto found = [country](const QString& typed) {
        country->completer()->setCompletionPrefix(typed);
        QStringList names;
        for (int i = 0; country->completer()->setCurrentRow(i); ++i)
            names << country->completer()->currentCompletion();
        return names;
    };
    EXPECT_EQ(found("Tysk"), QStringList{"Tyskland (DE)"});
    EXPECT_TRUE(found("usa").contains("USA (US)"));
    EXPECT_TRUE(found("(DE)").contains("Tyskland (DE)"));

    // The code typed alone is the country; a name the list does not have
    // stops OK at the list.
    country->setFocus();
    country->setEditText("Atlantis");
    click(1);
    EXPECT_EQ(boxes(), QStringList{"Error: Check country !"});
    EXPECT_EQ(d.focusWidget(), country);
    country->setEditText("de");
    click(1);
    EXPECT_EQ(stored()["COUNTRY"], "DE");
    EXPECT_EQ(settings.COUNTRY, "DE");
}

TEST_F(SettingsLineTest, SharingThroughABrokerAndCallsFromIt)
{
    loadStored("");
    SettingsDialog& d = openDialog();
    EXPECT_EQ(dialogbuilder::control<QGroupBox>(&d, 1088)->title(), "Deling");
    EXPECT_EQ(radio(1099)->text(), "Anrop fra en annen Ringvakt (MQTT)");
    EXPECT_EQ(field(1091)->accessibleName(), "Megler");
    EXPECT_EQ(field(1094)->accessibleName(), "Passord");
    EXPECT_EQ(field(1094)->echoMode(), QLineEdit::Password);
    EXPECT_EQ(field(1100)->accessibleName(), "Bare fra maskin");
    EXPECT_EQ(field(1083)->accessibleName(), "Ruterens samtalemonitor");
    // Nothing shared, nothing received: the broker's fields are greyed.
    const auto enabled = [&](std::initializer_list<int> ids) {
        std::vector<int> out;
        for (int id : ids) {
            if (dialogbuilder::control(&d, id)->isEnabled())
                out.push_back(id);
        }
        return out;
    };
    const auto sharingIds = {1091, 1092, 1093, 1094, 1095, 1096, 1097, 1098, 1100, 1101};
    EXPECT_EQ(enabled(sharingIds), std::vector<int>{});
    EXPECT_EQ(field(1092)->text(), "1883");
    EXPECT_EQ(field(1097)->text(), "ringvakt");
    EXPECT_TRUE(box(1098)->isChecked());

    // Sharing opens the broker and home automation; TLS the CA file; the
    // MQTT line the host filter.
    click(1090);
    EXPECT_EQ(enabled(sharingIds), (std::vector<int>{1091, 1092, 1093, 1094, 1095, 1097, 1098}));
    click(1095);
    click(1099);
    // With the calls of other desktops as the line, sharing is greyed and
    // off: a received call is never passed on. It comes back as it was.
    EXPECT_EQ(enabled(sharingIds),
              (std::vector<int>{1091, 1092, 1093, 1094, 1095, 1096, 1097, 1100, 1101}));
    EXPECT_FALSE(box(1090)->isEnabled());
    EXPECT_FALSE(box(1090)->isChecked());
    click(1081);
    EXPECT_TRUE(box(1090)->isChecked());
    click(1099);

    // The broker must be named and reachable by its port; a CA file must be
    // there. Each stops OK with its message, and nothing is saved.
    // A topic cannot hold what would change it. The focus goes to the field
    // at fault.
    const std::vector<std::tuple<int, std::function<void()>, QString>> steps = {
        {1091, [&] { field(1091)->setText("mqtt.lan"); }, "Check MQTT broker !"},
        {1092, [&] { field(1092)->setText("8883"); }, "Check MQTT port !"},
        {1096, [&] { field(1096)->setText(dir.file("ca.pem")); }, "Check MQTT CA file !"},
        {1097, [&] { field(1097)->setText("hus/ringvakt"); },
         "Check MQTT topic ! It cannot hold # or +, an empty level, or spaces at its ends."},
    };
    field(1092)->setText("0");
    field(1096)->setText(dir.file("missing.pem"));
    field(1097)->setText("hus/ringvakt #1");
    dir.write("ca.pem", "-----BEGIN CERTIFICATE-----\n");
    for (const auto& [id, fix, message] : steps) {
        msgbox::clearShown();
        click(1);
        EXPECT_EQ(boxes(), QStringList{"Error: " + message});
        EXPECT_EQ(d.focusWidget(), field(id));
        EXPECT_TRUE(fileUnchanged());
        fix();
    }
    field(1093)->setText("ringvakt");
    field(1094)->setText(" hemmelig ");
    field(1100)->setText("kontor");
    msgbox::clearShown();
    click(1);
    EXPECT_TRUE(msgbox::shown().empty());
    EXPECT_FALSE(d.isVisible());
    std::map<std::string, std::string> s = stored();
    EXPECT_EQ(s["LINE"], "3");
    EXPECT_EQ(s["MQTT"], "1");
    EXPECT_EQ(s["MQTT_PREFIX"], "hus/ringvakt");
    EXPECT_EQ(s["MQTT_HOST"], "mqtt.lan");
    EXPECT_EQ(s["MQTT_PORT"], "8883");
    EXPECT_EQ(s["MQTT_USER"], "ringvakt");
    EXPECT_EQ(s["MQTT_TLS"], "2");
    EXPECT_EQ(s["MQTT_CAFILE"], dir.file("ca.pem").toStdString());
    EXPECT_EQ(s["MQTT_FILTER"], "kontor");
    // The password as typed, spaces and all, at the next start; the file
    // that holds it is its owner's alone.
    IniSettingsStore again(dir.file("Ringvakt.ini"));
    Settings next;
    LoadSettings(next, again);
    EXPECT_EQ(next.MQTT_PASSWORD, " hemmelig ");
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::ReadOther |
                                            QFileDevice::WriteGroup | QFileDevice::WriteOther;
    EXPECT_EQ(QFileInfo(dir.file("Ringvakt.ini")).permissions() & others, 0);
}
