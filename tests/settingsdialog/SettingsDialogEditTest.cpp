#include "DialogFixture.h"
#include "platform/MessageBoxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using test::DialogFixture;
using test::summary;

namespace {

class SettingsDialogEditTest : public DialogFixture
{};

} // namespace

TEST_F(SettingsDialogEditTest, LogAllIsTickedExactlyWhenNoMsnIs)
{
    loadStored("MSN_LOG=2\nMSN_2=22\n");
    openDialog();
    EXPECT_FALSE(box(1040)->isChecked());
    EXPECT_FALSE(field(1060)->isReadOnly());

    // Unticking the only ticked MSN ticks "Logg alle MSN'er" again.
    click(1045);
    EXPECT_TRUE(box(1040)->isChecked());
    EXPECT_TRUE(field(1060)->isReadOnly());

    // A click on the ticked box leaves it ticked.
    click(1040);
    EXPECT_TRUE(box(1040)->isChecked());

    // Ticking MSNs unticks it and opens their fields; unticking one of two
    // leaves it unticked.
    click(1044);
    click(1046);
    EXPECT_FALSE(box(1040)->isChecked());
    EXPECT_FALSE(field(1059)->isReadOnly());
    EXPECT_FALSE(field(1061)->isReadOnly());
    click(1044);
    EXPECT_FALSE(box(1040)->isChecked());
    EXPECT_TRUE(field(1059)->isReadOnly());

    // "Logg alle MSN'er" unticks them all and closes their fields.
    click(1040);
    EXPECT_TRUE(box(1040)->isChecked());
    for (int id : {1044, 1045, 1046})
        EXPECT_FALSE(box(id)->isChecked()) << id;
    for (int id : {1059, 1060, 1061})
        EXPECT_TRUE(field(id)->isReadOnly()) << id;
}

TEST_F(SettingsDialogEditTest, DelayFieldFollowsTheCloseChoice)
{
    // A stored delay above 1000 with "Aldri": OK is refused until the user
    // opens the field, corrects it, and may then choose "Aldri" again.
    loadStored("MSG_CLOSE=1\nMSG_CLOSE_TIMEOUT=5000\n");
    SettingsDialog& d = openDialog();
    EXPECT_TRUE(radio(1050)->isChecked());
    EXPECT_TRUE(field(1058)->isReadOnly());
    click(1);
    EXPECT_EQ(boxes(), QStringList{"Error: Message timeout to high !"});
    EXPECT_TRUE(d.isVisible());

    click(1051);
    EXPECT_FALSE(field(1058)->isReadOnly());
    field(1058)->selectAll();
    QTest::keyClicks(field(1058), "30");
    EXPECT_EQ(field(1058)->text(), "30");
    click(1050);
    EXPECT_TRUE(field(1058)->isReadOnly());
    click(1050); // the selected one again: still read-only
    EXPECT_TRUE(field(1058)->isReadOnly());
    EXPECT_TRUE(radio(1050)->isChecked());

    click(1055);
    click(1049);
    click(1);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(storedSummary(),
              "MSG_SHOW=3 MSG_CLOSE=1 MSG_CLOSE_TIMEOUT=30 BEEP=4 MSN_LOG=7 "
              "PSOUND=1 PSOUND_BEFORE=2 PSOUND_AFTER=2 MSN_1= MSN_2= MSN_3= LINE=1 "
              "CALLMONITOR_HOST=fritz.box CALLMONITOR_PORT=1012 NOTIFY=1 COUNTRY=" +
                  localeCountry() + test::kSharingDefaults);
    EXPECT_EQ(summary(settings), storedSummary());
}

TEST_F(SettingsDialogEditTest, CancelEscapeAndTheTitleBarCloseDiscardEverything)
{
    loadStored("MSN_LOG=7\n");
    const std::string before = summary(settings);
    for (int way : {0, 1, 2}) {
        SettingsDialog& d = openDialog();
        click(1049);
        click(1051);
        field(1058)->setText("77");
        click(1055);
        click(1044);
        QTest::keyClicks(field(1059), "123");
        click(1008);
        click(1056);
        if (way == 0)
            click(2);
        else if (way == 1)
            QTest::keyClick(field(1059), Qt::Key_Escape);
        else
            d.close(); // a close button that the window manager added
        EXPECT_FALSE(d.isVisible()) << way;
        EXPECT_EQ(d.result(), 0) << way;
        EXPECT_EQ(summary(settings), before) << way;
        EXPECT_TRUE(fileUnchanged()) << way;
        EXPECT_TRUE(msgbox::shown().empty()) << way;
    }
}

TEST_F(SettingsDialogEditTest, DigitFieldsRefuseLettersTypedOrPasted)
{
    loadStored("MSG_CLOSE=2\nMSN_LOG=1\nMSN_1=22\n");
    openDialog();
    QClipboard* clipboard = QApplication::clipboard();
    for (int id : {1058, 1059}) {
        QLineEdit* f = field(id);
        const QString start = f->text();
        f->setFocus();
        f->end(false);
        clipboard->setText(QStringLiteral("12ab"));
        f->paste();
        EXPECT_EQ(f->text(), start) << id;
        clipboard->setText(QStringLiteral("0221-55"));
        f->paste();
        EXPECT_EQ(f->text(), start) << id;
        QTest::keyClicks(f, "x-7 ");
        EXPECT_EQ(f->text(), start + "7") << id;
        clipboard->setText(QStringLiteral("30"));
        f->paste();
        EXPECT_EQ(f->text(), start + "730") << id;
    }
    // An MSN field takes no more than the 19 characters an MSN is stored
    // with, so nothing typed is cut off unseen at saving.
    field(1059)->setText("");
    QTest::keyClicks(field(1059), "12345678901234567890123");
    EXPECT_EQ(field(1059)->text(), "1234567890123456789");

    field(1058)->setText("9");
    click(1);
    EXPECT_EQ(settings.MSN_1, "1234567890123456789");
    EXPECT_EQ(stored().at("MSN_1"), "1234567890123456789");
}

TEST_F(SettingsDialogEditTest, PlayRecordAndDeleteTheIntroAndOutro)
{
    loadStored("");
    dir.write("sound/INTRO.wav", "RIFF");
    dir.write("sound/Outro.wav", "RIFF");
    dir.write("sound/4711.wav", "RIFF");
    const QString sound = dir.file("sound") + QLatin1Char('/');
    SettingsDialog& d = openDialog();

    // Play finds the intro whatever the case of its letters.
    click(1064);
    click(1066);
    EXPECT_EQ(this->sound.played,
              QStringList({"play " + sound + "INTRO.wav", "play " + sound + "Outro.wav"}));

    // Record: the recorder for the file, without waiting.
    click(1065);
    click(1067);
    EXPECT_EQ(recorder.started, QStringList({sound + "INTRO.wav", sound + "Outro.wav"}));

    // Delete asks first; No keeps the file.
    msgbox::answerAhead({msgbox::Answer::No, msgbox::Answer::Yes});
    click(1068);
    EXPECT_TRUE(dir.exists("sound/INTRO.wav"));
    EXPECT_EQ(boxes(), QStringList{"Ringvakt: Vil du virklig slette denne lyd-filen ?"});
    EXPECT_TRUE(msgbox::shown().front().question);
    click(1068);
    EXPECT_FALSE(dir.exists("sound/INTRO.wav"));
    EXPECT_TRUE(dir.exists("sound/Outro.wav"));
    EXPECT_TRUE(dir.exists("sound/4711.wav"));

    // Cancel does not bring it back; a missing intro plays the default
    // sound, and records under its own name.
    click(2);
    EXPECT_FALSE(d.isVisible());
    EXPECT_FALSE(dir.exists("sound/INTRO.wav"));
    openDialog();
    this->sound.played.clear();
    recorder.started.clear();
    click(1064);
    click(1065);
    EXPECT_EQ(this->sound.played, QStringList{"play " + sound + "Intro.wav"});
    EXPECT_EQ(recorder.started, QStringList{sound + "Intro.wav"});
    // Deleting what is not there asks, and touches nothing else.
    msgbox::clearShown();
    click(1068);
    EXPECT_EQ(msgbox::shown().size(), 1u);
    click(1069);
    EXPECT_FALSE(dir.exists("sound/Outro.wav"));
    EXPECT_EQ(QDir(dir.file("sound")).entryList(QDir::Files), QStringList{"4711.wav"});
    EXPECT_TRUE(fileUnchanged());
}

TEST_F(SettingsDialogEditTest, AFailedSaveKeepsTheNewValuesAndSaysSo)
{
    // A settings "file" that is a directory can be neither read nor written.
    QDir(dir.path()).mkpath("blocked.ini");
    IniSettingsStore blocked(dir.file("blocked.ini"));
    dialog = std::make_unique<SettingsDialog>(
        nullptr, SettingsDialogParts{settings, blocked, sound, recorder, dir.path()});
    dialog->show();
    click(1055);
    click(1);
    EXPECT_EQ(boxes(), QStringList{"Ringvakt: Oppsettet kunne ikke lagres.\n"
                                   "Endringene gjelder bare til Ringvakt avsluttes."});
    EXPECT_EQ(settings.BEEP, 4); // in force for this run
    EXPECT_FALSE(dialog->isVisible());
}
