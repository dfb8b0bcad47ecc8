#include "phonebook/PhoneBookWindow.h"

#include "PhoneBookFixture.h"
#include "phonebook/PhoneBookEditor.h"
#include "platform/FirstSelectedRow.h"
#include "platform/MenuTemplate.h"
#include "platform/MessageBoxes.h"
#include "shell/CommandIds.h"
#include "shell/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

using test::PhoneBookFixture;

namespace {

// Hansen (201, with a sound whose name is upper case), Olsen (202, none) and
// Dahl (203, with a sound), written out of order; calls from 201 and 203.
class PhoneBookWindowTest : public PhoneBookFixture
{
protected:
    void SetUp() override
    {
        PhoneBookFixture::SetUp();
        dir.write("PhoneBk.dat", kBook);
        dir.write("sound/201.WAV", "RIFF");
        dir.write("sound/203.wav", "RIFF");
        dir.write("sound/Intro.wav", "RIFF");
        dir.write("sound/OUTRO.WAV", "RIFF");
        dir.write("sound/999.wav", "RIFF"); // owned by no entry
        dir.write("CallID.dat", "01-Jan-2026\r\n10:00:00\r\n1\r\n201\r\n"
                                "01-Jan-2026\r\n10:01:00\r\n1\r\n203\r\n");
        startWithPhoneBook();
    }

    static constexpr const char* kBook = "Olsen\r\n\r\n202\r\n"
                                         "Hansen\r\nKari\r\n201\r\n"
                                         "Dahl\r\nPer\r\n203\r\n";
};

QStringList menuTexts(const QMenu* menu)
{
    QStringList out;
    for (const QAction* a : menu->actions())
        out << a->text() + (a->font().bold() ? "*" : "");
    return out;
}

// Asks for the context menu at a point of the list and returns the texts of
// the menu that opened (its default item marked *), closing it unchosen.
QStringList contextMenuAt(PhoneBookWindow& window, QPoint inViewport)
{
    QStringList shown;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            shown = menuTexts(menu);
            menu->close();
        }
    });
    QWidget* viewport = window.view()->viewport();
    QContextMenuEvent event(QContextMenuEvent::Mouse, inViewport,
                            viewport->mapToGlobal(inViewport));
    QApplication::sendEvent(viewport, &event);
    return shown;
}

} // namespace

TEST_F(PhoneBookWindowTest, ShowsTheBookInSurnameOrderWithSoundIcons)
{
    withPhoneBookWindow([&](PhoneBookWindow& w) {
        EXPECT_EQ(w.windowTitle(), "Ringvakt - Katalog");
        EXPECT_EQ(w.windowModality(), Qt::WindowModal);
        EXPECT_EQ(w.parentWidget(), &app->mainWindow());
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(rows(w), QStringList({"Dahl|Per|203", "Hansen|Kari|201", "Olsen||202"}));
        // The loudspeaker where the number has a sound (whatever the case
        // of the file name), the crossed-out one where it has none.
        EXPECT_EQ(w.list().icon(0), 1);
        EXPECT_EQ(w.list().icon(1), 1);
        EXPECT_EQ(w.list().icon(2), 0);
        EXPECT_FALSE(w.view()->model()->index(2, 0).data(Qt::DecorationRole).isNull());

        const QAbstractItemModel* m = w.view()->model();
        EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), "Etternavn");
        EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), "Fornavn");
        EXPECT_EQ(m->headerData(2, Qt::Horizontal).toString(), "Tlf.nummer");
        EXPECT_FALSE(w.view()->header()->sectionsClickable());

        EXPECT_EQ(button(&w, 1023)->text(), "Slett alt");
        EXPECT_EQ(button(&w, 1024)->text(), "Legg til");
        EXPECT_EQ(button(&w, 1025)->text(), "Endre");
        EXPECT_EQ(button(&w, 1026)->text(), "Slett");
        EXPECT_EQ(button(&w, 1022)->text(), "Lukk");
        EXPECT_FALSE(button(&w, 1025)->isEnabled());
        EXPECT_FALSE(button(&w, 1026)->isEnabled());

        // "Endre" and "Slett" follow the selection.
        selectRow(w, 1);
        EXPECT_TRUE(button(&w, 1025)->isEnabled());
        EXPECT_TRUE(button(&w, 1026)->isEnabled());
        w.view()->selectionModel()->clearSelection();
        EXPECT_FALSE(button(&w, 1025)->isEnabled());
        EXPECT_FALSE(button(&w, 1026)->isEnabled());

        // A second "Katalog" only brings this window to the front.
        app->command(command::PhoneBook);
        EXPECT_EQ(window(), &w);
    });
    EXPECT_EQ(dir.read("PhoneBk.dat"), kBook) << "opening and closing saves nothing";
}

TEST_F(PhoneBookWindowTest, ContextMenusOverARowAndBelowTheRows)
{
    withPhoneBookWindow([&](PhoneBookWindow& w) {
        const QRect second = w.view()->visualRect(w.view()->model()->index(1, 0));
        EXPECT_EQ(
            contextMenuAt(w, second.center()),
            QStringList({"Endre*", "Slett", "", "Importer kontakter…", "Eksporter katalogen…"}));
        EXPECT_EQ(FirstSelectedRow(w.view()), 1) << "the row under the cursor is selected";

        const QRect last = w.view()->visualRect(w.view()->model()->index(2, 0));
        EXPECT_EQ(contextMenuAt(w, QPoint(last.center().x(), last.bottom() + 40)),
                  QStringList({"Legg til*", "", "Importer kontakter…", "Eksporter katalogen…"}));
    });
}

TEST_F(PhoneBookWindowTest, EscapeDoesNothingAndEnterPressesLukk)
{
    withPhoneBookWindow([&](PhoneBookWindow& w) {
        QTest::keyClick(&w, Qt::Key_Escape);
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(window(), &w);
        QTest::keyClick(&w, Qt::Key_Return);
        EXPECT_FALSE(w.isVisible()) << "Enter presses the default button, Lukk";
    });
}

TEST_F(PhoneBookWindowTest, NeitherLukkNorTheTitleBarCloseWhileTheEditorIsOpen)
{
    withPhoneBookWindow([&](PhoneBookWindow& w) {
        withEditor([&] { button(&w, 1024)->click(); },
                   [&](PhoneBookEditor& e) {
                       EXPECT_FALSE(w.isEnabled()) << "the editor disables the window";
                       w.command(1022);
                       EXPECT_TRUE(w.isVisible());
                       EXPECT_FALSE(w.close());
                       EXPECT_TRUE(w.isVisible());
                       EXPECT_TRUE(e.isVisible());
                   });
        EXPECT_TRUE(w.isEnabled());
        // With the editor gone, the title-bar close ends the window.
        EXPECT_TRUE(w.close());
        EXPECT_FALSE(w.isVisible());
    });
}

TEST_F(PhoneBookWindowTest, DeleteAsksThenSavesReloadsAndPurges)
{
    EXPECT_EQ(callLogNames(), QStringList({"Kari Hansen", "Per Dahl"}));
    withPhoneBookWindow([&](PhoneBookWindow& w) {
        selectRow(w, 1); // Hansen

        msgbox::answerAhead({msgbox::Answer::No});
        button(&w, 1026)->click();
        ASSERT_EQ(msgbox::shown().size(), 1u);
        EXPECT_EQ(msgbox::shown()[0].caption, "Ringvakt");
        EXPECT_EQ(msgbox::shown()[0].text, "Vil du virklig slette dette innlegget?");
        EXPECT_EQ(rows(w).size(), 3);
        EXPECT_EQ(dir.read("PhoneBk.dat"), kBook);
        EXPECT_TRUE(dir.exists("sound/201.WAV"));

        msgbox::answerAhead({msgbox::Answer::Yes});
        w.command(40020); // the menu's "Slett"
        EXPECT_EQ(rows(w), QStringList({"Dahl|Per|203", "Olsen||202"}));
        EXPECT_FALSE(button(&w, 1025)->isEnabled());
        EXPECT_FALSE(button(&w, 1026)->isEnabled());
    });
    EXPECT_EQ(dir.read("PhoneBk.dat"), "Dahl\r\nPer\r\n203\r\nOlsen\r\n\r\n202\r\n");
    EXPECT_FALSE(dir.exists("sound/201.WAV")) << "the deleted entry's sound is purged";
    EXPECT_FALSE(dir.exists("sound/999.wav"));
    EXPECT_TRUE(dir.exists("sound/203.wav"));
    EXPECT_TRUE(dir.exists("sound/Intro.wav"));
    EXPECT_EQ(callLogNames(), QStringList({"???", "Per Dahl"})) << "the call log follows";
}

TEST_F(PhoneBookWindowTest, ClearAllAsksThenEmptiesFileAndSounds)
{
    withPhoneBookWindow([&](PhoneBookWindow& w) {
        msgbox::answerAhead({msgbox::Answer::No});
        button(&w, 1023)->click();
        ASSERT_EQ(msgbox::shown().size(), 1u);
        EXPECT_EQ(msgbox::shown()[0].text, "Vil du virklig slette alle innleggene?");
        EXPECT_EQ(rows(w).size(), 3);

        msgbox::answerAhead({msgbox::Answer::Yes});
        button(&w, 1023)->click();
        EXPECT_TRUE(rows(w).isEmpty());

        // On an empty list "Slett alt" asks nothing.
        msgbox::clearShown();
        button(&w, 1023)->click();
        EXPECT_TRUE(msgbox::shown().empty());
    });
    EXPECT_TRUE(dir.exists("PhoneBk.dat"));
    EXPECT_EQ(dir.read("PhoneBk.dat"), "");
    EXPECT_EQ(QDir(dir.file("sound")).entryList(QDir::Files, QDir::Name),
              QStringList({"Intro.wav", "OUTRO.WAV"}));
    EXPECT_EQ(callLogNames(), QStringList({"???", "???"}));
}

TEST_F(PhoneBookWindowTest, AFailedSaveChangesNothingAndSaysSo)
{
    // A stray carriage return inside a hand-edited line cannot be written
    // back: every save of this book fails, and must fail visibly.
    const std::string book = std::string(kBook) + "Ha\rugen\r\n\r\n204\r\n";
    dir.write("PhoneBk.dat", book);
    withPhoneBookWindow([&](PhoneBookWindow& w) {
        ASSERT_EQ(rows(w).size(), 4);
        selectRow(w, 0); // Dahl
        msgbox::answerAhead({msgbox::Answer::Yes});
        button(&w, 1026)->click();
        ASSERT_EQ(msgbox::shown().size(), 2u);
        EXPECT_EQ(msgbox::shown()[1].caption, "Ringvakt");
        EXPECT_TRUE(msgbox::shown()[1].text.contains("PhoneBk.dat"));
        EXPECT_FALSE(msgbox::shown()[1].question);
        EXPECT_EQ(rows(w).size(), 4) << "the entry is kept in the list";
    });
    EXPECT_EQ(dir.read("PhoneBk.dat"), book);
    EXPECT_TRUE(dir.exists("sound/203.wav"));
    EXPECT_TRUE(dir.exists("sound/999.wav")) << "no purge after a failed save";
    EXPECT_EQ(callLogNames(), QStringList({"Kari Hansen", "Per Dahl"}));
}

TEST_F(PhoneBookWindowTest, AnUnreadableBookIsNeverOverwritten)
{
    // "PhoneBk.dat" there but unreadable (here: a directory): the window
    // shows an empty list and refuses to replace the file by it.
    QFile::remove(dir.file("PhoneBk.dat"));
    QDir(dir.path()).mkdir("PhoneBk.dat");
    dir.write("PhoneBk.dat/keep", "x");
    withPhoneBookWindow([&](PhoneBookWindow& w) {
        EXPECT_TRUE(rows(w).isEmpty());
        withEditor([&] { button(&w, 1024)->click(); },
                   [&](PhoneBookEditor& e) {
                       edit(&e, 1022)->setText("Lie");
                       edit(&e, 1023)->setText("301");
                       button(&e, 1)->click();
                       ASSERT_EQ(msgbox::shown().size(), 1u);
                       EXPECT_TRUE(msgbox::shown()[0].text.contains("PhoneBk.dat"));
                       EXPECT_EQ(editor(), &e) << "the editor stays open with the entry";
                   });
        EXPECT_TRUE(rows(w).isEmpty());
    });
    EXPECT_EQ(dir.read("PhoneBk.dat/keep"), "x");
    EXPECT_TRUE(dir.exists("sound/999.wav"));
}

TEST_F(PhoneBookWindowTest, NoNeighbourIsEverLeftSelected)
{
    const auto nothingSelected = [](PhoneBookWindow& w) {
        return FirstSelectedRow(w.view()) < 0 && !w.view()->currentIndex().isValid() &&
               !button(&w, 1025)->isEnabled() && !button(&w, 1026)->isEnabled();
    };
    withPhoneBookWindow([&](PhoneBookWindow& w) {
        EXPECT_TRUE(nothingSelected(w)) << "on opening";

        // "Slett" names the entry it asks about, and selects nothing after.
        selectRow(w, 1); // Hansen
        msgbox::answerAhead({msgbox::Answer::Yes});
        button(&w, 1026)->click();
        ASSERT_EQ(msgbox::shown().size(), 1u);
        EXPECT_EQ(msgbox::shown()[0].detail, "Kari Hansen, 201");
        EXPECT_TRUE(nothingSelected(w)) << "after Slett";

        // OK in edit mode: the changed row takes its place, nothing selected.
        selectRow(w, 0); // Dahl
        withEditor([&] { button(&w, 1025)->click(); },
                   [&](PhoneBookEditor& e) {
                       edit(&e, 1031)->setText("Pål");
                       button(&e, 1)->click();
                   });
        EXPECT_EQ(rows(w), QStringList({"Dahl|Pål|203", "Olsen||202"}));
        EXPECT_TRUE(nothingSelected(w)) << "after OK";

        // A right-click below the rows lets go of the selection, so that its
        // "Legg til" adds instead of opening the selected entry.
        selectRow(w, 1);
        const QRect last = w.view()->visualRect(w.view()->model()->index(1, 0));
        EXPECT_EQ(contextMenuAt(w, QPoint(last.center().x(), last.bottom() + 40)),
                  QStringList({"Legg til*", "", "Importer kontakter…", "Eksporter katalogen…"}));
        EXPECT_TRUE(nothingSelected(w));
        withEditor([&] { w.command(40022); },
                   [&](PhoneBookEditor& e) { EXPECT_EQ(edit(&e, 1022)->text(), ""); });
        EXPECT_EQ(rows(w).size(), 2);
    });
}
