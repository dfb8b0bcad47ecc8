#include "PhoneBookFixture.h"
#include "calllog/CallLog.h"
#include "calllog/CallLogWindow.h"
#include "calls/CallPopup.h"
#include "calls/CallPopupController.h"
#include "phonebook/PhoneBookEditor.h"
#include "phonebook/PhoneBookWindow.h"
#include "platform/MessageBoxes.h"
#include "shell/CommandIds.h"
#include "shell/ProgramLanguage.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QDir>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

using test::PhoneBookFixture;

namespace {

// "-> Katalog" from the call log and from the popup: the editor opens on the
// caller's number, over the phone book window if one is open, else over a
// hidden one made for it.
class AddNumberTest : public PhoneBookFixture
{
protected:
    void SetUp() override
    {
        PhoneBookFixture::SetUp();
        dir.write("PhoneBk.dat", kBook);
        startWithPhoneBook();
    }

    // Selects the call log row and presses its "-> Katalog", with `inside`
    // run in the editor that opens.
    void addFromCallLog(int row, const std::function<void(PhoneBookEditor&)>& inside)
    {
        CallLogWindow* log = app->callLogWindow();
        log->list()->selectionModel()->select(log->list()->model()->index(row, 0),
                                              QItemSelectionModel::ClearAndSelect |
                                                  QItemSelectionModel::Rows);
        withEditor([&] { button(log, 1068)->click(); }, inside);
    }

    static constexpr const char* kBook = "Hansen\r\nKari\r\n201\r\n";
};

} // namespace

TEST_F(AddNumberTest, FromTheCallLogTheCallerIsAddedAndNamed)
{
    ring("555", "1");
    ring("556", "1");
    ASSERT_EQ(callLogNames(), QStringList({"???", "???"}));

    // Cancel adds nothing.
    addFromCallLog(1, [&](PhoneBookEditor& e) {
        EXPECT_NE(window(), nullptr);
        EXPECT_FALSE(window()->isVisible()) << "the host window is never shown";
        EXPECT_FALSE(e.addMode());
        EXPECT_EQ(edit(&e, 1023)->text(), "556");
        button(&e, 2)->click();
    });
    EXPECT_EQ(window(), nullptr) << "the host window goes with the editor";
    EXPECT_EQ(dir.read("PhoneBk.dat"), kBook);

    addFromCallLog(0, [&](PhoneBookEditor& e) {
        EXPECT_FALSE(e.addMode()) << "the new row is selected: edit mode";
        EXPECT_EQ(edit(&e, 1023)->text(), "555");
        EXPECT_EQ(edit(&e, 1036)->text(), "555.wav");
        EXPECT_TRUE(edit(&e, 1022)->text().isEmpty());
        EXPECT_TRUE(edit(&e, 1031)->text().isEmpty());
        EXPECT_TRUE(button(&e, 1033)->isEnabled());
        EXPECT_FALSE(button(&e, 1034)->isEnabled());
        edit(&e, 1022)->setText("Lie");
        edit(&e, 1031)->setText("Per");
        button(&e, 1)->click();
    });
    EXPECT_TRUE(msgbox::shown().empty());
    EXPECT_EQ(window(), nullptr);
    EXPECT_EQ(dir.read("PhoneBk.dat"), "Hansen\r\nKari\r\n201\r\nLie\r\nPer\r\n555\r\n");
    EXPECT_EQ(callLogNames(), QStringList({"Per Lie", "???"}));
}

TEST_F(AddNumberTest, FromThePopup)
{
    ring("557", "1");
    CallPopup* popup = app->popups().popup();
    ASSERT_NE(popup, nullptr);
    withEditor([&] { popup->addButton()->click(); },
               [&](PhoneBookEditor& e) {
                   EXPECT_EQ(edit(&e, 1023)->text(), "557");
                   edit(&e, 1022)->setText("Berg");
                   button(&e, 1)->click();
               });
    EXPECT_EQ(dir.read("PhoneBk.dat"), "Berg\r\n\r\n557\r\nHansen\r\nKari\r\n201\r\n");
    EXPECT_NE(app->popups().popup(), nullptr) << "the popup stays open";

    // The popup's close delay running out while its editor is open: the
    // popup goes, the editor stays and still saves.
    ring("562", "1");
    popup = app->popups().popup();
    ASSERT_NE(popup, nullptr);
    withEditor([&] { popup->addButton()->click(); },
               [&](PhoneBookEditor& e) {
                   app->core().closeTimerExpired();
                   EXPECT_EQ(app->popups().popup(), nullptr);
                   QCoreApplication::processEvents();
                   EXPECT_TRUE(e.isVisible());
                   edit(&e, 1022)->setText("Vik");
                   button(&e, 1)->click();
               });
    EXPECT_NE(dir.read("PhoneBk.dat").find("Vik\r\n\r\n562\r\n"), std::string::npos);
}

TEST_F(AddNumberTest, FromThePopupTheNumberAsStoredNotAsShown)
{
    // "Ukjent nummer" delivered as a number (as a broker's message may carry
    // it): the popup shows it in the language of the windows, the editor
    // gets it as the call log stores it.
    ProgramLanguage german;
    german.install(QStringLiteral("de"));
    app->popups().showCallPopup(kUnknownNumber, "1", kUnknownName, true, false);
    CallPopup* popup = app->popups().popup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->callerNumberText(), "Unbekannte Nummer");
    withEditor([&] { popup->addButton()->click(); },
               [&](PhoneBookEditor& e) {
                   EXPECT_EQ(edit(&e, 1023)->text(), "Ukjent nummer");
                   button(&e, 2)->click();
               });
}

TEST_F(AddNumberTest, WithThePhoneBookWindowOpenTheRowGoesIntoItsList)
{
    withPhoneBookWindow([&](PhoneBookWindow& w) {
        // The popup's "-> Katalog" while the window is open (and no editor).
        withEditor([&] { app->phoneBookDialogs().AddNumberToPhoneBook("558"); },
                   [&](PhoneBookEditor& e) {
                       EXPECT_EQ(window(), &w) << "no second phone book window";
                       EXPECT_EQ(rows(w), QStringList({"||558", "Hansen|Kari|201"}));
                       EXPECT_FALSE(w.isEnabled());
                       EXPECT_EQ(edit(&e, 1023)->text(), "558");
                       button(&e, 2)->click();
                   });
        EXPECT_EQ(rows(w), QStringList({"Hansen|Kari|201"})) << "Cancel takes the row away";
        EXPECT_TRUE(w.isEnabled());

        withEditor([&] { app->phoneBookDialogs().AddNumberToPhoneBook("558"); },
                   [&](PhoneBookEditor& e) {
                       edit(&e, 1022)->setText("Aas");
                       button(&e, 1)->click();
                   });
        EXPECT_EQ(rows(w), QStringList({"Aas||558", "Hansen|Kari|201"}));
        EXPECT_TRUE(w.isVisible());

        // Later saves of the window write exactly what it shows.
        selectRow(w, 1);
        button(&w, 1026)->click();
    });
    EXPECT_EQ(dir.read("PhoneBk.dat"), "Aas\r\n\r\n558\r\n");
}

TEST_F(AddNumberTest, WithAnEditorOpenItIsRaisedAndNothingIsAdded)
{
    ring("559", "1");
    // An editor over the hidden host (from the call log)...
    addFromCallLog(0, [&](PhoneBookEditor& e) {
        PhoneBookWindow* host = window();
        ASSERT_NE(host, nullptr);
        // ...then the popup's "-> Katalog" and the tray's "Katalog".
        app->phoneBookDialogs().AddNumberToPhoneBook("560");
        app->command(command::PhoneBook);
        EXPECT_EQ(editor(), &e);
        EXPECT_EQ(window(), host);
        EXPECT_FALSE(host->isVisible());
        EXPECT_EQ(rows(*host), QStringList({"||559", "Hansen|Kari|201"}));
        edit(&e, 1022)->setText("Moe");
        button(&e, 1)->click();
    });
    EXPECT_EQ(dir.read("PhoneBk.dat"), "Hansen\r\nKari\r\n201\r\nMoe\r\n\r\n559\r\n");

    // An editor over the shown window.
    withPhoneBookWindow([&](PhoneBookWindow& w) {
        withEditor([&] { button(&w, 1024)->click(); },
                   [&](PhoneBookEditor& e) {
                       app->phoneBookDialogs().AddNumberToPhoneBook("561");
                       EXPECT_EQ(editor(), &e);
                       EXPECT_EQ(rows(w).size(), 2) << "no row beneath the open editor";
                       EXPECT_TRUE(e.addMode());
                   });
        EXPECT_EQ(rows(w).size(), 2);
    });
    EXPECT_EQ(dir.read("PhoneBk.dat"), "Hansen\r\nKari\r\n201\r\nMoe\r\n\r\n559\r\n");
}

TEST_F(AddNumberTest, AHostileNumberFromTheLineNeverReachesOutsideSound)
{
    // Numbers from the line can hold any printable bytes.
    dir.write("x.wav", "outside");
    dir.write("sound/a/b.wav", "in a folder");
    ring("../x", "1");
    ring("a/b", "1");
    sound.played.clear(); // the calls' beeps
    for (int row : {0, 1}) {
        addFromCallLog(row, [&](PhoneBookEditor& e) {
            const QString number = row == 0 ? "../x" : "a/b";
            EXPECT_EQ(edit(&e, 1023)->text(), number);
            EXPECT_EQ(edit(&e, 1036)->text(), number + ".wav");
            EXPECT_FALSE(button(&e, 1034)->isEnabled());
            EXPECT_FALSE(button(&e, 1035)->isEnabled());

            msgbox::clearShown();
            button(&e, 1033)->click();
            EXPECT_TRUE(recorder.started.isEmpty()) << "no recorder for a path outside sound/";
            ASSERT_EQ(msgbox::shown().size(), 1u) << "the user is told why";
            EXPECT_EQ(msgbox::shown()[0].caption, "Ringvakt");

            // Even when forced, play and delete touch nothing.
            e.command(1034);
            EXPECT_TRUE(sound.played.isEmpty());
            msgbox::answerAhead({msgbox::Answer::Yes});
            e.command(1035);
        });
    }
    EXPECT_EQ(dir.read("x.wav"), "outside");
    EXPECT_EQ(dir.read("sound/a/b.wav"), "in a folder");
    EXPECT_EQ(dir.read("PhoneBk.dat"), kBook);
}
