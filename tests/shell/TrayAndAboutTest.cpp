#include "AppFixture.h"
#include "calllog/CallLogWindow.h"
#include "platform/MenuTemplate.h"
#include "shell/AboutBox.h"
#include "shell/CommandIds.h"
#include "shell/MainWindow.h"
#include "shell/TrayIcon.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using test::AppFixture;

namespace {

class TrayAndAboutTest : public AppFixture
{};

// The tray menu as "text[*]" per item, * for a check mark, "-" for a
// separator, in menu order.
QStringList menuItems(const QMenu* menu)
{
    QStringList out;
    for (const QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-")
                                 : a->text() + (a->isChecked() ? QStringLiteral("*") : QString()));
    return out;
}

} // namespace

TEST_F(TrayAndAboutTest, TrayMenuTextsAndCheckMarksFollowTheMode)
{
    ASSERT_TRUE(startApp());
    QMenu* menu = app->tray().menu();
    EXPECT_EQ(menuItems(menu),
              QStringList({"Siste Innringere", "-", "Katalog", "Oppsett", "Om Ringvakt", "-",
                           "Aktiver Ringvakt*", "Slå av Listefunksjon", "Slå av Ringvakt", "-",
                           "Avslutt"}));
    EXPECT_EQ(menu->defaultAction(), menus::item(menu, command::ShowCallLog));
    EXPECT_TRUE(menu->defaultAction()->font().bold());
    EXPECT_EQ(app->tray().toolTip(), "Ringvakt");

    app->command(command::DisableOutput);
    EXPECT_EQ(menuItems(menu).filter("*"), QStringList{"Slå av Listefunksjon*"});
    app->command(command::Disable);
    EXPECT_EQ(menuItems(menu).filter("*"), QStringList{"Slå av Ringvakt*"});
    EXPECT_EQ(app->tray().toolTip(), "Ringvakt");

    // Choosing an item sends its command to the program.
    menus::item(menu, command::Enable)->trigger();
    EXPECT_EQ(app->core().mode(), OperatingMode::Enabled);
    EXPECT_EQ(app->tray().iconId(), 101);
}

TEST_F(TrayAndAboutTest, CallLogCommandShowsTheMainWindow)
{
    trayPresent = true;
    ASSERT_TRUE(startApp());
    EXPECT_FALSE(app->mainWindow().isVisible());
    app->command(command::ShowCallLog);
    EXPECT_TRUE(app->mainWindow().isVisible());
    // With a tray, "Lukk" hides it again.
    app->callLogWindow()->command(1009);
    EXPECT_FALSE(app->mainWindow().isVisible());
}

TEST_F(TrayAndAboutTest, AboutBoxIsOneAndOnlyOkClosesIt)
{
    ASSERT_TRUE(startApp());
    bool checked = false;
    QTimer::singleShot(0, [&] {
        AboutBox* box = app->aboutBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), "Om Ringvakt");
        EXPECT_EQ(box->findChild<QLabel*>("1010")->text(), "Ringvakt V1.52 (Norsk)");
        EXPECT_TRUE(box->findChild<QLabel*>("1014")->text().startsWith(
            "Ikke glem å sende feedback.txt !\n"));
        EXPECT_EQ(box->windowModality(), Qt::WindowModal);

        // A second "Om Ringvakt" opens nothing new; Escape does not close.
        app->command(command::About);
        EXPECT_EQ(app->aboutBox(), box);
        QTest::keyClick(box, Qt::Key_Escape);
        EXPECT_TRUE(box->isVisible());

        box->findChild<QPushButton*>("1")->click();
        checked = true;
    });
    app->command(command::About);
    EXPECT_TRUE(checked);
    EXPECT_EQ(app->aboutBox(), nullptr);
}
