#include "DialogFixture.h"
#include "platform/DialogBuilder.h"
#include "platform/MessageBoxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using test::DialogFixture;
using test::summary;

namespace {

class SettingsDialogTest : public DialogFixture
{
protected:
    // The ids of these buttons that are checked.
    std::vector<int> checked(std::initializer_list<int> ids) const
    {
        std::vector<int> out;
        for (int id : ids) {
            if (dialogbuilder::control<QAbstractButton>(dialog.get(), id)->isChecked())
                out.push_back(id);
        }
        return out;
    }
    // The ids of these fields that the user can write in.
    std::vector<int> writable(std::initializer_list<int> ids) const
    {
        std::vector<int> out;
        for (int id : ids) {
            if (!field(id)->isReadOnly())
                out.push_back(id);
        }
        return out;
    }
};

} // namespace

TEST_F(SettingsDialogTest, ShowsTheStoredSettingsWithTheirTexts)
{
    loadStored("MSG_SHOW=2\nMSG_CLOSE=2\nMSG_CLOSE_TIMEOUT=4000000000\nBEEP=3\nMSN_LOG=5\n"
               "PSOUND=2\nPSOUND_BEFORE=1\nMSN_1=111\nMSN_2=222\nMSN_3=333\n");
    SettingsDialog& d = openDialog();

    EXPECT_EQ(d.windowTitle(), "Ringvakt Oppsett");
    QStringList texts;
    for (int id : {1071, 1047, 1048, 1049, 1072, 1050, 1051, 1073, 1052, 1053, 1054, 1055,
                   1074, 1040, 1044, 1045, 1046, 1075, 1008, 1056, 1062, 1,    2}) {
        QWidget* w = dialogbuilder::control(&d, id);
        auto* group = qobject_cast<QGroupBox*>(w);
        texts << (group ? group->title() : qobject_cast<QAbstractButton*>(w)->text());
    }
    EXPECT_EQ(texts.join('|'), "Vis melding ved Ring|Alltid|Hvis Innringer ble gjenkjent|Aldri|"
                               "Lukk meldingen|Aldri|Etter (sekunder):|"
                               "Gi et PIP ved ring|Alltid|Hvis Innringer blir gjenkjent|"
                               "Hvis ingen personlig lyd ligger inne|Aldri|"
                               "MSN'er|Logg alle MSN'er|Logg MSN 1:|Logg MSN 2:|Logg MSN 3:|"
                               "Personlige Alarmer|Spill Personlig Alarm|Spill intro:|Spill outro:|"
                               "OK|Avbryt");
    for (int id : {1064, 1065, 1066, 1067, 1068, 1069})
        EXPECT_FALSE(dialogbuilder::control<QPushButton>(&d, id)->icon().isNull()) << id;

    EXPECT_EQ(checked({1047, 1048, 1049, 1050, 1051, 1052, 1053, 1054, 1055}),
              (std::vector<int>{1048, 1051, 1054}));
    EXPECT_EQ(field(1058)->text(), "4000000000"); // unsigned, as stored
    // MSN_LOG 5: MSN 1 and 3 ticked and writable; every text shown.
    EXPECT_EQ(checked({1040, 1044, 1045, 1046}), (std::vector<int>{1044, 1046}));
    EXPECT_EQ(writable({1058, 1059, 1060, 1061}), (std::vector<int>{1058, 1059, 1061}));
    EXPECT_EQ(field(1059)->text() + field(1060)->text() + field(1061)->text(), "111222333");
    EXPECT_EQ(checked({1008, 1056, 1062}), (std::vector<int>{1008, 1056}));
    EXPECT_TRUE(box(1056)->isEnabled() && box(1062)->isEnabled());
    EXPECT_EQ(field(1057)->text() + field(1063)->text(), "Intro.wavOutro.wav");
    EXPECT_FALSE(field(1057)->isEnabled() || field(1063)->isEnabled());
}

TEST_F(SettingsDialogTest, ValuesOutsideTheChoicesSelectNoneAndSurviveOk)
{
    loadStored("MSG_SHOW=9\nMSG_CLOSE=5\nBEEP=0\nMSN_LOG=0\nMSG_CLOSE_TIMEOUT=12\nCOUNTRY=ZZ\n");
    SettingsDialog& d = openDialog();
    EXPECT_TRUE(checked({1047, 1048, 1049, 1050, 1051, 1052, 1053, 1054, 1055}).empty());
    EXPECT_TRUE(checked({1040, 1044, 1045, 1046}).empty());
    // No close choice leaves the delay writable; no MSN ticked, no MSN field.
    EXPECT_EQ(writable({1058, 1059, 1060, 1061}), std::vector<int>{1058});

    // A group left without a choice keeps its value.
    click(1);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(msgbox::shown().empty());
    const std::string expected =
        "MSG_SHOW=9 MSG_CLOSE=5 MSG_CLOSE_TIMEOUT=12 BEEP=0 MSN_LOG=0 "
        "PSOUND=1 PSOUND_BEFORE=2 PSOUND_AFTER=2 MSN_1= MSN_2= MSN_3= LINE=1 "
        "CALLMONITOR_HOST=fritz.box CALLMONITOR_PORT=1012 NOTIFY=1 COUNTRY=ZZ" +
        std::string(test::kSharingDefaults);
    EXPECT_EQ(summary(settings), expected);
    EXPECT_EQ(storedSummary(), expected);
}

TEST_F(SettingsDialogTest, EachCheckStopsOkWithItsMessageAndSavesNothing)
{
    loadStored("MSN_LOG=0\nMSN_2=555\nMSG_CLOSE_TIMEOUT=2000\n");
    const std::string before = summary(settings);
    SettingsDialog& d = openDialog();
    click(1044);
    click(1045);
    click(1046);
    QTest::keyClicks(field(1060), "6");

    // MSN 1 and 3 are empty and the delay is too high: one at a time, in
    // that order, each in a box of its own.
    const std::vector<std::pair<int, QString>> steps = {
        {1059, "Check MSN 1 !"}, {1061, "Check MSN 3 !"}, {1058, "Message timeout to high !"}};
    for (const auto& [fix, message] : steps) {
        msgbox::clearShown();
        click(1);
        EXPECT_EQ(boxes(), QStringList{"Error: " + message});
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(fileUnchanged());
        // Every entry as the user left it.
        EXPECT_EQ(field(1060)->text(), "5556");
        EXPECT_EQ(field(1058)->text(), "2000");
        EXPECT_EQ(checked({1040, 1044, 1045, 1046}), (std::vector<int>{1044, 1045, 1046}));
        if (fix != 1058)
            QTest::keyClicks(field(fix), "1");
    }
    EXPECT_EQ(summary(settings), before);

    // An unticked MSN may be empty.
    field(1061)->clear();
    click(1046);
    field(1058)->setText("1000");
    msgbox::clearShown();
    click(1);
    EXPECT_TRUE(msgbox::shown().empty());
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(storedSummary(),
              "MSG_SHOW=1 MSG_CLOSE=1 MSG_CLOSE_TIMEOUT=1000 BEEP=1 MSN_LOG=3 "
              "PSOUND=1 PSOUND_BEFORE=2 PSOUND_AFTER=2 MSN_1=1 MSN_2=5556 MSN_3= LINE=1 "
              "CALLMONITOR_HOST=fritz.box CALLMONITOR_PORT=1012 NOTIFY=1 COUNTRY=" +
                  localeCountry() + test::kSharingDefaults);
}

TEST_F(SettingsDialogTest, DelayAboveAThousandOrBeyond32BitsIsRefused)
{
    loadStored("MSG_CLOSE=2\n");
    SettingsDialog& d = openDialog();
    // A number too large for 32 bits is refused like any other too large
    // one, instead of passing as 0.
    for (const char* text :
         {"1001", "4294967295", "4294967296", "99999999999", "123456789012345678901234567890"}) {
        field(1058)->setText(QString::fromLatin1(text));
        msgbox::clearShown();
        click(1);
        EXPECT_EQ(boxes(), QStringList{"Error: Message timeout to high !"}) << text;
        EXPECT_TRUE(d.isVisible()) << text;
        EXPECT_TRUE(fileUnchanged()) << text;
    }
    EXPECT_EQ(settings.MSG_CLOSE_TIMEOUT, 5u);

    // An empty field is 0; leading zeros are the same number.
    field(1058)->clear();
    click(1);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(stored().at("MSG_CLOSE_TIMEOUT"), "0");
    openDialog();
    EXPECT_EQ(field(1058)->text(), "0");
    field(1058)->setText("0999");
    click(1);
    EXPECT_EQ(settings.MSG_CLOSE_TIMEOUT, 999u);
}

TEST_F(SettingsDialogTest, AllThreeMsnsStoreSevenAndReopenAsLogAll)
{
    loadStored("MSN_1=11\nMSN_2=22\nMSN_3=33\n");
    openDialog();
    click(1044);
    click(1045);
    click(1046);
    EXPECT_FALSE(box(1040)->isChecked());
    // Enter presses OK, from a field as from the dialog.
    QTest::keyClick(field(1061), Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(settings.MSN_LOG, 7);
    EXPECT_EQ(stored().at("MSN_LOG"), "7");

    openDialog();
    EXPECT_EQ(checked({1040, 1044, 1045, 1046}), std::vector<int>{1040});
    EXPECT_EQ(field(1059)->text() + field(1060)->text() + field(1061)->text(), "112233");
    EXPECT_TRUE(writable({1059, 1060, 1061}).empty());
}

TEST_F(SettingsDialogTest, GreyedIntroAndOutroKeepAndSaveTheirTicks)
{
    loadStored("PSOUND=1\nPSOUND_BEFORE=1\nPSOUND_AFTER=2\n");
    openDialog();
    EXPECT_EQ(checked({1008, 1056, 1062}), std::vector<int>{1056});
    EXPECT_FALSE(box(1056)->isEnabled() || box(1062)->isEnabled());

    // Sounds on: both usable, the outro gets ticked; sounds off again: both
    // greyed with their ticks, and saved by them.
    click(1008);
    EXPECT_TRUE(box(1056)->isEnabled() && box(1062)->isEnabled());
    click(1062);
    click(1008);
    EXPECT_FALSE(box(1056)->isEnabled() || box(1062)->isEnabled());
    EXPECT_EQ(checked({1008, 1056, 1062}), (std::vector<int>{1056, 1062}));
    click(1);
    const auto values = stored();
    EXPECT_EQ(values.at("PSOUND") + values.at("PSOUND_BEFORE") + values.at("PSOUND_AFTER"), "111");
    EXPECT_EQ(summary(settings), summary(values));
}

TEST_F(SettingsDialogTest, ARadioGroupIsOneTabStopAtItsChoiceAndTheArrowsChoose)
{
    loadStored("MSG_SHOW=2\nMSG_CLOSE=1\n");
    SettingsDialog& d = openDialog();
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));

    // Tab from the last control comes round to the first group, at its
    // chosen button, not at its first.
    dialogbuilder::control<QWidget>(&d, 2)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), radio(1048));

    // The arrows move and choose, round the group.
    QTest::keyClick(radio(1048), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), radio(1049));
    EXPECT_TRUE(radio(1049)->isChecked());
    QTest::keyClick(radio(1049), Qt::Key_Down);
    EXPECT_TRUE(radio(1047)->isChecked());
    QTest::keyClick(radio(1047), Qt::Key_Up);
    EXPECT_TRUE(radio(1049)->isChecked());

    // Tab leaves the group, for the next group's choice.
    QTest::keyClick(radio(1049), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), radio(1050));
}
