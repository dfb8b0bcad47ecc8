#include "PhoneBookFixture.h"
#include "calllog/CallLog.h"
#include "calllog/CallLogWindow.h"
#include "calls/CallPopup.h"
#include "calls/CallPopupController.h"
#include "phonebook/PhoneBookDialogs.h"
#include "phonebook/PhoneBookWindow.h"
#include "platform/DialogBuilder.h"
#include "platform/MessageBoxes.h"
#include "shell/CommandIds.h"
#include "shell/ProgramLanguage.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>

using test::PhoneBookFixture;

namespace {

// A book with Kari Hansen at "22 12 34 56" in line form, and two calls that
// the import should name: one delivered in another form.
class ContactTransferWindowsTest : public PhoneBookFixture
{
protected:
    void SetUp() override
    {
        PhoneBookFixture::SetUp();
        // Norwegian as the program installs it: Qt's file dialog speaks it
        // through our Bokmål of Qt's texts.
        language.install(QStringLiteral("nb"));
        dir.write("Ringvakt.ini", "[V1.51]\nCOUNTRY=NO\nPSOUND=2\n");
        dir.write("PhoneBk.dat", kBook);
        dir.write("CallID.dat", "01-Jan-2026\r\n10:00:00\r\n1\r\n+4791300111\r\n"
                                "01-Jan-2026\r\n10:01:00\r\n1\r\n004722123456\r\n");
        startWithPhoneBook();
    }

    // Answers the file dialog that opens next: chooses `path` in it.
    static void chooseInFileDialog(const QString& path)
    {
        later([path] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr) << "no file dialog opened";
            EXPECT_EQ(dialog->labelText(QFileDialog::Reject), "Avbryt");
            dialog->selectFile(path);
            QMetaObject::invokeMethod(dialog, "accept");
        });
    }

    static constexpr const char* kBook = "Hansen\r\nKari\r\n22123456\r\n";
    ProgramLanguage language;
};

} // namespace

TEST_F(ContactTransferWindowsTest, ImportShowsWhatItWillDoAndSavesAllOrNothing)
{
    // vCard 2.1 from a phone: Kari again in another form, Pål with a mobile
    // and a foreign number, a name code page 1252 cannot hold, no number.
    dir.write("phone.vcf", "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Hansen;Kari\r\n"
                           "TEL;HOME:+47 22 12 34 56\r\nEND:VCARD\r\n"
                           "BEGIN:VCARD\r\nVERSION:2.1\r\n"
                           "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:S=C3=A6ther;P=C3=A5l\r\n"
                           "TEL;CELL:913 00 111\r\nTEL;WORK:+46 8 123 456 78\r\nEND:VCARD\r\n"
                           "BEGIN:VCARD\r\nVERSION:2.1\r\nN:\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD\xD0"
                           "\xBE\xD0\xB2;\r\nTEL:40000000\r\nEND:VCARD\r\n"
                           "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Nummerlaus;Nils\r\nEND:VCARD\r\n");
    dir.write("broken.vcf", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));

    withPhoneBookWindow([&](PhoneBookWindow& w) {
        EXPECT_EQ(button(&w, 1027)->text(), "Importer…");

        // A file that is no contact file: said, and nothing changes.
        chooseInFileDialog(dir.file("broken.vcf"));
        button(&w, 1027)->click();
        ASSERT_EQ(msgbox::shown().size(), 1u);
        EXPECT_TRUE(msgbox::shown()[0].text.contains("kan ikke importeres"));
        EXPECT_EQ(dir.read("PhoneBk.dat"), kBook);

        // The summary first; "Avbryt" changes nothing.
        msgbox::clearShown();
        msgbox::answerAhead({msgbox::Answer::No});
        chooseInFileDialog(dir.file("phone.vcf"));
        w.command(40030);
        ASSERT_EQ(msgbox::shown().size(), 1u);
        const msgbox::Shown& summary = msgbox::shown()[0];
        EXPECT_EQ(summary.text, "2 nye oppføringer, 1 fantes fra før, 1 uten nummer, "
                                "1 med tegn som ikke kan lagres");
        EXPECT_EQ(summary.yesText, "Importer");
        EXPECT_EQ(summary.noText, "Avbryt");
        EXPECT_EQ(dir.read("PhoneBk.dat"), kBook);
        EXPECT_EQ(rows(w), QStringList{"Hansen|Kari|22123456"});

        // "Importer": one save, each number an entry at its place by
        // surname, in line form; the call log names the callers now.
        EXPECT_EQ(callLogNames(), QStringList({"???", "Kari Hansen"}));
        msgbox::clearShown();
        EXPECT_TRUE(w.importContactsFrom(dir.file("phone.vcf")));
        EXPECT_EQ(rows(w), QStringList({"Hansen|Kari|22123456", "Sæther|Pål|91300111",
                                        "Sæther|Pål|0046812345678"}));
        EXPECT_EQ(dir.read("PhoneBk.dat"), std::string(kBook) +
                                               "S\xE6ther\r\nP\xE5l\r\n91300111\r\n"
                                               "S\xE6ther\r\nP\xE5l\r\n0046812345678\r\n");
        EXPECT_EQ(callLogNames(), QStringList({"Pål Sæther", "Kari Hansen"}));

        // The same file again brings nothing new, and says so.
        msgbox::clearShown();
        EXPECT_FALSE(w.importContactsFrom(dir.file("phone.vcf")));
        ASSERT_EQ(msgbox::shown().size(), 1u);
        EXPECT_FALSE(msgbox::shown()[0].question);

        // Back out as vCard, to a file chosen in the dialog.
        chooseInFileDialog(dir.file("out/Katalog.vcf"));
        QDir().mkpath(dir.file("out"));
        w.command(40031);
        EXPECT_TRUE(dir.read("out/Katalog.vcf").rfind("BEGIN:VCARD\r\nVERSION:3.0\r\n", 0) == 0);
    });

    // The call log from its window's menu, as CSV.
    chooseInFileDialog(dir.file("out/Samtaler.csv"));
    app->callLogWindow()->command(40032);
    EXPECT_EQ(dir.read("out/Samtaler.csv"),
              "\xEF\xBB\xBF"
              "Dato,Klokkeslett,MSN,Hvem ringte,Navn,Dato (ISO 8601),Status,Varighet\r\n"
              "01-Jan-2026,10:00:00,1,+4791300111,P\xC3\xA5l S\xC3\xA6ther,2026-01-01,,\r\n"
              "01-Jan-2026,10:01:00,1,004722123456,Kari Hansen,2026-01-01,,\r\n");

    // A ring in another form of an imported number: named in the popup and
    // the log, and the sound recorded for the entry is the one played.
    dir.write("sound/91300111.wav", "RIFF");
    sound.played.clear();
    ring("+4791300111", "1");
    CallPopup* popup = app->popups().popup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->findChild<QLineEdit*>("1004")->text(), "Pål Sæther");
    EXPECT_FALSE(popup->addButton()->isEnabled());
    EXPECT_EQ(callLogNames().last(), "Pål Sæther");
    EXPECT_TRUE(sound.played.contains("play " + dir.file("sound/91300111.wav")))
        << sound.played.join(", ").toStdString();
}

TEST_F(ContactTransferWindowsTest, ALargeImportRunsBesideTheCallsAndEndsWithTheProgram)
{
    // 3,000 contacts of a phone, each with a photo.
    std::string file;
    for (int i = 0; i < 3000; ++i) {
        file += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lie;Tor;;;\r\nPHOTO;ENCODING=b:";
        for (int line = 0; line < 100; ++line)
            file += " " + std::string(76, 'Q') + "\r\n";
        file += "TEL:" + std::to_string(40000000 + i) + "\r\nEND:VCARD\r\n";
    }
    dir.write("phone.vcf", file);
    const auto progressDialog = [](PhoneBookWindow& w) { return w.findChild<QProgressDialog*>(); };

    withPhoneBookWindow([&](PhoneBookWindow& w) {
        // "Avbryt" while it reads: nothing is asked, nothing changes.
        later([&] {
            QProgressDialog* progress = progressDialog(w);
            ASSERT_NE(progress, nullptr);
            EXPECT_TRUE(progress->isVisible());
            QPushButton* cancel = progress->findChild<QPushButton*>();
            ASSERT_NE(cancel, nullptr);
            EXPECT_EQ(cancel->text(), "Avbryt");
            cancel->click();
        });
        EXPECT_FALSE(w.importContactsFrom(dir.file("phone.vcf")));
        EXPECT_TRUE(msgbox::shown().empty());
        EXPECT_EQ(dir.read("PhoneBk.dat"), kBook);

        // A call that rings while it reads is logged at once, before the
        // import ends; the import then saves all of its entries.
        bool loggedDuringImport = false;
        later([&] {
            ASSERT_NE(progressDialog(w), nullptr);
            ring("40000007", "1");
            loggedDuringImport = dir.read("CallID.dat").find("40000007") != std::string::npos &&
                                 dir.read("PhoneBk.dat") == kBook;
        });
        msgbox::answerAhead({msgbox::Answer::Yes});
        EXPECT_TRUE(w.importContactsFrom(dir.file("phone.vcf")));
        EXPECT_TRUE(loggedDuringImport);
        EXPECT_EQ(w.list().size(), 3001);
        EXPECT_EQ(callLogNames().last(), "Tor Lie");

        // The program ends while an import reads: it is not waited for, and
        // what was recorded stays.
        const std::string book = dir.read("PhoneBk.dat");
        msgbox::clearShown();
        later([&] { app->command(command::Exit); });
        EXPECT_FALSE(w.importContactsFrom(dir.file("phone.vcf")));
        EXPECT_EQ(dir.read("PhoneBk.dat"), book);
        EXPECT_NE(dir.read("CallID.dat").find("40000007"), std::string::npos);
    });
}

TEST_F(ContactTransferWindowsTest, ExportsAndTheImportAreFoundWhereTheUserLooksAndSayWhereTheyWrote)
{
    // A desktop without a tray: the call log carries them in its menu bar.
    QMenu* file = nullptr;
    for (QAction* menu : app->mainWindow().findChild<QMenuBar*>()->actions()) {
        if (menu->text() == "Fil")
            file = menu->menu();
    }
    ASSERT_NE(file, nullptr);
    QStringList items;
    for (QAction* item : file->actions())
        items << item->text();
    EXPECT_EQ(items, QStringList({QString::fromUtf8("Importer kontakter…"),
                                  QString::fromUtf8("Eksporter katalogen…"),
                                  QString::fromUtf8("Eksporter samtaleloggen…")}));
    EXPECT_EQ(dialogbuilder::control<QPushButton>(app->callLogWindow(), 1070)->text(),
              QString::fromUtf8("Eksporter…"));
    // And in the list's menu, which the keyboard opens too (Shift+F10).
    QStringList menu;
    later([&] {
        if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* item : popup->actions())
                menu << item->text();
            popup->close();
        }
    });
    QTest::keyClick(app->callLogWindow()->list(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(menu.contains(QString::fromUtf8("Eksporter samtaleloggen…")))
        << menu.join('|').toStdString();

    // The call log, then the phone book from the same folder; each says
    // where it went. An unknown caller has no name in the CSV.
    QDir(dir.path()).mkdir("ut");
    dir.write("CallID.dat", "01-Jan-2026\r\n10:00:00\r\n1\r\n555\r\n");
    ReloadCallLog(app->core().callLog());
    msgbox::clearShown();
    chooseInFileDialog(dir.file("ut/logg.csv"));
    file->actions()[2]->trigger();
    EXPECT_NE(dir.read("ut/logg.csv").find("01-Jan-2026,10:00:00,1,555,,2026-01-01"),
              std::string::npos);
    QString folderOfNext;
    later([&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        folderOfNext = dialog->directory().absolutePath();
        dialog->selectFile(dir.file("ut/bok.vcf"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    file->actions()[1]->trigger();
    EXPECT_EQ(folderOfNext, QDir(dir.file("ut")).absolutePath());
    EXPECT_NE(dir.read("ut/bok.vcf").find("FN:Kari Hansen"), std::string::npos);
    ASSERT_EQ(msgbox::shown().size(), 2u);
    EXPECT_EQ(msgbox::shown()[0].text, "Samtaleloggen er eksportert til " +
                                           QDir::toNativeSeparators(dir.file("ut/logg.csv")) + ".");
    EXPECT_EQ(msgbox::shown()[1].text, "Katalogen er eksportert til " +
                                           QDir::toNativeSeparators(dir.file("ut/bok.vcf")) + ".");

    // The import opens the phone book window at its file dialog, which has
    // its export beside its import.
    QString importCaption;
    QString exportButton;
    // The window opens first, and its import's dialog from inside it.
    later([&] {
        later([&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            importCaption = dialog->windowTitle();
            if (PhoneBookWindow* window = app->phoneBookDialogs().phoneBookWindow()) {
                exportButton = dialogbuilder::control<QPushButton>(window, 1028)->text();
                QMetaObject::invokeMethod(dialog, "reject");
                later([window] { window->command(1022); });
            }
        });
    });
    file->actions()[0]->trigger();
    EXPECT_EQ(importCaption, "Importer kontakter");
    EXPECT_EQ(exportButton, QString::fromUtf8("Eksporter…"));
}
