#include "AppFixture.h"
#include "DialogFixture.h"
#include "calllog/CallLog.h"
#include "platform/DialogBuilder.h"
#include "shell/CommandIds.h"
#include "shell/MainWindow.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using test::AppFixture;

namespace {

class SettingsDialogAppTest : public AppFixture
{
protected:
    QList<SettingsDialog*> openDialogs() const
    {
        return app->mainWindow().findChildren<SettingsDialog*>();
    }

    int beeps() const { return int(sound.played.filter("beep").size()); }
};

} // namespace

TEST_F(SettingsDialogAppTest, AChangeTakesEffectForTheNextRingWithoutARestart)
{
    ASSERT_TRUE(startApp());
    ring("4711", "999");
    EXPECT_EQ(beeps(), 1);

    bool checked = false;
    QTimer::singleShot(0, [&] {
        const QList<SettingsDialog*> open = openDialogs();
        ASSERT_EQ(open.size(), 1);
        SettingsDialog* dialog = open.front();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
        EXPECT_EQ(dialog->parentWidget(), &app->mainWindow());

        // A second "Oppsett" opens no second dialog.
        app->command(command::Settings);
        EXPECT_EQ(openDialogs(), open);

        // Calls go on being handled while it is open, with the settings as
        // they were: a changed but not yet accepted choice does nothing.
        dialogbuilder::control<QRadioButton>(dialog, 1055)->click();
        ring("4711", "999");
        EXPECT_EQ(beeps(), 2);

        dialogbuilder::control<QPushButton>(dialog, 1)->click();
        checked = true;
    });
    app->command(command::Settings);
    ASSERT_TRUE(checked);
    EXPECT_TRUE(openDialogs().isEmpty());
    EXPECT_EQ(app->core().settings().BEEP, 4);
    EXPECT_EQ(test::storedValues(dir.read("Ringvakt.ini")).at("BEEP"), "4");

    ring("4711", "999");
    EXPECT_EQ(beeps(), 2);
    EXPECT_EQ(app->core().callLog().size(), 3);

    // The dialog can be opened again once it has ended, and Escape leaves
    // everything as it was.
    checked = false;
    QTimer::singleShot(0, [&] {
        ASSERT_EQ(openDialogs().size(), 1);
        SettingsDialog* dialog = openDialogs().front();
        EXPECT_TRUE(dialogbuilder::control<QRadioButton>(dialog, 1055)->isChecked());
        dialogbuilder::control<QRadioButton>(dialog, 1052)->click();
        dialog->reject();
        checked = true;
    });
    app->command(command::Settings);
    ASSERT_TRUE(checked);
    EXPECT_EQ(app->core().settings().BEEP, 4);
}
