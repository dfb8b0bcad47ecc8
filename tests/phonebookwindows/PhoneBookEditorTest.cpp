#include "phonebook/PhoneBookEditor.h"

#include "PhoneBookFixture.h"
#include "phonebook/PhoneBookWindow.h"
#include "platform/FirstSelectedRow.h"
#include "platform/MessageBoxes.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

using test::PhoneBookFixture;

namespace {

class PhoneBookEditorTest : public PhoneBookFixture
{
protected:
    void SetUp() override
    {
        PhoneBookFixture::SetUp();
        dir.write("PhoneBk.dat", kBook);
        dir.write("sound/201.wav", "RIFF");
        dir.write("CallID.dat", "01-Jan-2026\r\n10:00:00\r\n1\r\n301\r\n");
        startWithPhoneBook();
    }

    // Opens the phone book window, then the editor with "Legg til" (after
    // selecting `row`, or none with -1), and runs `inside` in the editor.
    void inEditor(int row, const std::function<void(PhoneBookWindow&, PhoneBookEditor&)>& inside)
    {
        withPhoneBookWindow([&](PhoneBookWindow& w) {
            if (row >= 0)
                selectRow(w, row);
            withEditor([&] { button(&w, 1024)->click(); },
                       [&](PhoneBookEditor& e) { inside(w, e); });
        });
    }

    QStringList messages() const
    {
        QStringList texts;
        for (const msgbox::Shown& s : msgbox::shown())
            texts << s.caption + ": " + s.text;
        return texts;
    }

    static constexpr const char* kBook = "Hansen\r\nKari\r\n201\r\nOlsen\r\n\r\n202\r\n";
};

} // namespace

TEST_F(PhoneBookEditorTest, AddModeChecksInOrderThenAddsInSurnameOrder)
{
    EXPECT_EQ(callLogNames(), QStringList{"???"});
    inEditor(-1, [&](PhoneBookWindow& w, PhoneBookEditor& e) {
        EXPECT_EQ(e.windowTitle(), "Ringvakt - Katalog innlegg");
        EXPECT_EQ(e.windowModality(), Qt::WindowModal);
        EXPECT_FALSE(e.windowFlags() & Qt::WindowCloseButtonHint) << "no close box";
        EXPECT_TRUE(e.addMode());
        EXPECT_EQ(e.findChild<QLabel*>("1026")->text(), "Etternavn:");
        EXPECT_EQ(e.findChild<QLabel*>("1030")->text(), "Fornavn:");
        EXPECT_EQ(e.findChild<QLabel*>("1027")->text(), "Tlf.Nummer:");
        EXPECT_EQ(e.findChild<QLabel*>("1070")->text(), "Personlig melding (f.eks. Navnet):");
        EXPECT_EQ(button(&e, 1)->text(), "OK");
        EXPECT_EQ(button(&e, 2)->text(), "Avbryt");
        for (int id : {1022, 1031, 1023, 1036})
            EXPECT_TRUE(edit(&e, id)->text().isEmpty()) << id;
        for (int id : {1033, 1034, 1035})
            EXPECT_FALSE(button(&e, id)->isEnabled()) << id;
        EXPECT_FALSE(edit(&e, 1036)->isEnabled());

        // The number field takes digits only.
        QTest::keyClicks(edit(&e, 1023), "3a0-1");
        EXPECT_EQ(edit(&e, 1023)->text(), "301");
        edit(&e, 1023)->clear();

        // Nothing at all, a surname starting with a blank, a surname alone,
        // a number already in the book: one message each, the first failing
        // check only, and the editor stays.
        button(&e, 1)->click();
        edit(&e, 1022)->setText(" Lie");
        edit(&e, 1023)->setText("301");
        button(&e, 1)->click();
        edit(&e, 1022)->setText("Lie");
        edit(&e, 1023)->clear();
        button(&e, 1)->click();
        edit(&e, 1023)->setText("201");
        button(&e, 1)->click();
        EXPECT_EQ(messages(),
                  QStringList({"Ringvakt: Feil i Etternavn !", "Ringvakt: Feil i Etternavn !",
                               "Ringvakt: Feil i Tlf.Nummer !",
                               "Ringvakt: Tlf.Nummeret er alerede i katalogen !"}));
        EXPECT_EQ(editor(), &e);
        EXPECT_EQ(dir.read("PhoneBk.dat"), kBook);

        // A blank inside the surname is fine; the first name may be empty.
        edit(&e, 1022)->setText("Lie Berg");
        edit(&e, 1023)->setText("301");
        button(&e, 1)->click();
        EXPECT_FALSE(e.isVisible());
        EXPECT_EQ(e.result(), 1);
        EXPECT_TRUE(w.isEnabled());
        EXPECT_EQ(rows(w), QStringList({"Hansen|Kari|201", "Lie Berg||301", "Olsen||202"}));
    });
    EXPECT_EQ(dir.read("PhoneBk.dat"),
              "Hansen\r\nKari\r\n201\r\nLie Berg\r\n\r\n301\r\nOlsen\r\n\r\n202\r\n");
    EXPECT_EQ(callLogNames(), QStringList{" Lie Berg"}) << "the call log names the caller";
}

TEST_F(PhoneBookEditorTest, EditModeReplacesTheRowWithoutDuplicateCheckAndPurgesTheOldSound)
{
    inEditor(0, [&](PhoneBookWindow& w, PhoneBookEditor& e) {
        EXPECT_FALSE(e.addMode());
        EXPECT_EQ(edit(&e, 1022)->text(), "Hansen");
        EXPECT_EQ(edit(&e, 1031)->text(), "Kari");
        EXPECT_EQ(edit(&e, 1023)->text(), "201");
        EXPECT_EQ(edit(&e, 1036)->text(), "201.wav");
        EXPECT_TRUE(button(&e, 1033)->isEnabled());
        EXPECT_TRUE(button(&e, 1034)->isEnabled()) << "201 has a sound";
        EXPECT_TRUE(button(&e, 1035)->isEnabled());

        // Another entry's number: accepted in edit mode.
        edit(&e, 1022)->setText("Aas");
        edit(&e, 1023)->setText("202");
        EXPECT_EQ(edit(&e, 1036)->text(), "202.wav");
        EXPECT_FALSE(button(&e, 1034)->isEnabled());
        button(&e, 1)->click();
        EXPECT_TRUE(msgbox::shown().empty());
        EXPECT_EQ(rows(w), QStringList({"Aas|Kari|202", "Olsen||202"}));
        EXPECT_EQ(FirstSelectedRow(w.view()), -1) << "the new row is not selected";
        EXPECT_FALSE(button(&w, 1025)->isEnabled());
        EXPECT_FALSE(button(&w, 1026)->isEnabled());
    });
    EXPECT_EQ(dir.read("PhoneBk.dat"), "Aas\r\nKari\r\n202\r\nOlsen\r\n\r\n202\r\n");
    EXPECT_FALSE(dir.exists("sound/201.wav")) << "the old number's sound is purged";
}

TEST_F(PhoneBookEditorTest, DoubleClickOpensTheEditorOnTheRow)
{
    withPhoneBookWindow([&](PhoneBookWindow& w) {
        QTreeView* view = w.view();
        const QPoint at = view->visualRect(view->model()->index(1, 0)).center();
        withEditor(
            [&] {
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
            },
            [&](PhoneBookEditor& e) {
                EXPECT_FALSE(e.addMode());
                EXPECT_EQ(edit(&e, 1022)->text(), "Olsen");
            });
    });
}

TEST_F(PhoneBookEditorTest, SoundButtonsFollowTheNumber)
{
    dir.write("sound/777.WAV", "RIFF");
    inEditor(-1, [&](PhoneBookWindow&, PhoneBookEditor& e) {
        QTest::keyClicks(edit(&e, 1023), "777");
        EXPECT_EQ(edit(&e, 1036)->text(), "777.wav");
        EXPECT_TRUE(button(&e, 1033)->isEnabled());
        EXPECT_TRUE(button(&e, 1034)->isEnabled()) << "found whatever the letter case";
        EXPECT_TRUE(button(&e, 1035)->isEnabled());

        button(&e, 1034)->click();
        EXPECT_EQ(sound.played, QStringList{"play " + dir.file("sound/777.WAV")});

        edit(&e, 1023)->clear();
        EXPECT_TRUE(edit(&e, 1036)->text().isEmpty());
        for (int id : {1033, 1034, 1035})
            EXPECT_FALSE(button(&e, id)->isEnabled()) << id;

        // Record starts the recorder for the file and does not wait: the
        // play button stays disabled until the number changes again.
        QTest::keyClicks(edit(&e, 1023), "301");
        button(&e, 1033)->click();
        EXPECT_EQ(recorder.started, QStringList{dir.file("sound/301.wav")});
        dir.write("sound/301.wav", "RIFF");
        EXPECT_FALSE(button(&e, 1034)->isEnabled());
        QTest::keyClick(edit(&e, 1023), Qt::Key_Backspace);
        QTest::keyClicks(edit(&e, 1023), "1");
        EXPECT_TRUE(button(&e, 1034)->isEnabled());

        // Delete asks first; No keeps the file.
        msgbox::answerAhead({msgbox::Answer::No});
        button(&e, 1035)->click();
        ASSERT_EQ(msgbox::shown().size(), 1u);
        EXPECT_EQ(msgbox::shown()[0].caption, "Ringvakt");
        EXPECT_EQ(msgbox::shown()[0].text, "Vil du virkelig slette denne lydfilen ?");
        EXPECT_TRUE(dir.exists("sound/301.wav"));
        msgbox::answerAhead({msgbox::Answer::Yes});
        button(&e, 1035)->click();
        EXPECT_FALSE(dir.exists("sound/301.wav"));
        EXPECT_FALSE(button(&e, 1034)->isEnabled());
        EXPECT_FALSE(button(&e, 1035)->isEnabled());
    });
}

TEST_F(PhoneBookEditorTest, CancelAfterRecordingSavesNothingAndKeepsTheSound)
{
    inEditor(-1, [&](PhoneBookWindow& w, PhoneBookEditor& e) {
        edit(&e, 1022)->setText("Lie");
        QTest::keyClicks(edit(&e, 1023), "301");
        button(&e, 1033)->click();
        dir.write("sound/301.wav", "RIFF");  // the recorder saved it
        QTest::keyClick(&e, Qt::Key_Escape); // Escape cancels
        EXPECT_FALSE(e.isVisible());
        EXPECT_EQ(e.result(), 0);
        EXPECT_TRUE(w.isEnabled());
        EXPECT_EQ(rows(w).size(), 2);
    });
    EXPECT_EQ(dir.read("PhoneBk.dat"), kBook);
    EXPECT_TRUE(dir.exists("sound/301.wav")) << "nothing is purged on Cancel";
    EXPECT_TRUE(dir.exists("sound/201.wav"));

    // The next change that saves purges the sound no entry owns.
    withPhoneBookWindow([&](PhoneBookWindow& w) {
        selectRow(w, 1);
        button(&w, 1026)->click();
    });
    EXPECT_FALSE(dir.exists("sound/301.wav"));
}

TEST_F(PhoneBookEditorTest, AFailedSaveKeepsTheEditorOpenWithWhatWasTyped)
{
    const std::string book = std::string(kBook) + "Ha\rugen\r\n\r\n204\r\n";
    dir.write("PhoneBk.dat", book);
    dir.write("sound/999.wav", "RIFF");
    inEditor(-1, [&](PhoneBookWindow& w, PhoneBookEditor& e) {
        edit(&e, 1022)->setText("Lie");
        edit(&e, 1023)->setText("301");
        button(&e, 1)->click();
        ASSERT_EQ(msgbox::shown().size(), 1u);
        EXPECT_EQ(msgbox::shown()[0].caption, "Ringvakt");
        EXPECT_TRUE(msgbox::shown()[0].text.contains("PhoneBk.dat"));
        EXPECT_EQ(editor(), &e);
        EXPECT_EQ(edit(&e, 1022)->text(), "Lie");
        EXPECT_FALSE(w.isEnabled());
        EXPECT_EQ(rows(w).size(), 3) << "the list is unchanged";
    });
    EXPECT_EQ(dir.read("PhoneBk.dat"), book);
    EXPECT_TRUE(dir.exists("sound/999.wav")) << "no purge after a failed save";
}
