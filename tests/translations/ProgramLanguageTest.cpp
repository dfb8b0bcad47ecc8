#include "shell/ProgramLanguage.h"

#include "platform/DialogBuilder.h"
#include "support/NeededService.h"
#include "support/QtPrinting.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

QString translated(const char* context, const char* text, int n = -1)
{
    return QCoreApplication::translate(context, text, nullptr, n);
}

QString cancelButton()
{
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    return buttons.button(QDialogButtonBox::Cancel)->text();
}

// The texts Qt's own widgets show in the contexts they ask for them.
QStringList fileColumns()
{
    QFileSystemModel files;
    QStringList out;
    for (int column = 0; column < 4; ++column)
        out << files.headerData(column, Qt::Horizontal).toString();
    return out;
}

QStringList editMenu()
{
    QLineEdit edit;
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList out;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator())
            out << action->text().section(QLatin1Char('\t'), 0, 0);
    }
    return out;
}

// The texts of the about box's template that no window replaces.
QStringList aboutBoxTexts()
{
    QWidget host;
    dialogbuilder::build(&host, DialogTemplate::load(102));
    QStringList out;
    for (const QLabel* label : host.findChildren<QLabel*>()) {
        if (label->objectName().isEmpty() && !label->text().isEmpty())
            out << label->text();
    }
    return out;
}

} // namespace

TEST(ProgramLanguage, ChosenFromTheSettingOrTheDesktop)
{
    struct Case
    {
        std::string setting;
        QStringList desktop;
        const char* chosen;
    };
    const Case cases[] = {
        {"", {"nb-NO", "nb-Latn-NO", "nb"}, "nb"},
        {"", {"nn-NO", "nn-Latn-NO", "nn"}, "nb"},
        {"", {"no-NO", "nb-Latn-NO"}, "nb"},
        {"", {"de-AT", "de-Latn-AT"}, "de"},
        {"", {"en_GB"}, "en"},
        // The first of the desktop's languages that the windows speak.
        {"", {"fr-FR", "fr", "de-DE", "en-US"}, "de"},
        {"", {"fr-FR", "fr"}, "nb"},
        {"", {"C"}, "nb"},
        {"en", {"de-DE"}, "en"},
        {"nb", {"en-US"}, "nb"},
        // A setting that names none of them leaves the choice to the desktop.
        {"fr", {"en-US"}, "en"},
        {"EN", {"de-DE"}, "de"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProgramLanguage::choose(c.setting, c.desktop), QLatin1String(c.chosen))
            << c.setting << " " << c.desktop.join(',').toStdString();
}

TEST(ProgramLanguage, BringsTheProgramsAndQtsTranslations)
{
    const QStringList aboutTexts = aboutBoxTexts();
    ASSERT_EQ(aboutTexts.size(), 2);
    {
        // Norwegian: the program's texts are those of the code, Qt's come
        // from our Bokmål, in the contexts Qt asks for them.
        ProgramLanguage language;
        language.install(QStringLiteral("nb"));
        EXPECT_EQ(translated("SettingsDialog", "Automatisk"), "Automatisk");
        EXPECT_EQ(cancelButton(), "Avbryt");
        EXPECT_EQ(fileColumns(), QStringList({"Navn", "Størrelse", "Type", "Endret"}));
        EXPECT_EQ(editMenu(), QStringList({"&Angre", "&Gjør om", "Klipp &ut", "&Kopier", "&Lim inn",
                                           "Slett", "Merk alt"}));
        EXPECT_EQ(translated("QFileDialog", "%1 already exists.\nDo you want to replace it?"),
                  "%1 finnes allerede.\nVil du erstatte den?");
        EXPECT_EQ(aboutBoxTexts(), aboutTexts);
    }
    // Gone with the object.
    EXPECT_EQ(cancelButton(), "Cancel");
    {
        ProgramLanguage language;
        language.install(QStringLiteral("en"));
        EXPECT_EQ(translated("DesktopNotifier", "Ubesvart anrop"), "Missed call");
        EXPECT_EQ(translated("TrayIcon", "%n ubesvart anrop (siste: %1 %2)", 1),
                  "1 missed call (last: %1 %2)");
        EXPECT_EQ(translated("TrayIcon", "%n ubesvarte anrop (siste: %1 %2)", 3),
                  "3 missed calls (last: %1 %2)");
        EXPECT_EQ(cancelButton(), "Cancel");
    }
    {
        ProgramLanguage language;
        language.install(QStringLiteral("de"));
        EXPECT_EQ(translated("SettingsDialog", "Språk:"), "Sprache:");
        // The template's own texts, in the window's context.
        EXPECT_EQ(aboutBoxTexts(),
                  QStringList({"Ringvakt - Anruferkennung für Ihre Telefonleitung\n"
                               "Geschrieben von Tornholt",
                               "Kommentare und Wünsche sind willkommen:\n"
                               "füllen Sie feedback.txt aus und senden Sie sie uns."}));
        const QString qtGerman =
            QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_de.qm");
        RINGVAKT_NEED_SERVICE(QFile::exists(qtGerman),
                              "Qt's German translations (qt6-translations-l10n)");
        EXPECT_EQ(cancelButton(), "Abbrechen");
    }
}
