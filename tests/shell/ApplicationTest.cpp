#include "AppFixture.h"
#include "calllog/CallLog.h"
#include "calllog/CallLogWindow.h"
#include "calls/CallPopup.h"
#include "calls/CallPopupController.h"
#include "capi/CapiLink.h"
#include "capi/CapiTexts.h"
#include "capi/LineKeeper.h"
#include "settings/Settings.h"
#include "shell/CommandIds.h"
#include "shell/MainWindow.h"
#include "shell/TrayIcon.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <climits>
#include <functional>

using test::AppFixture;

namespace {

class ApplicationTest : public AppFixture
{};

QString popupText(Application& app, int id)
{
    CallPopup* popup = app.popups().popup();
    return popup ? popup->findChild<QLineEdit*>(QString::number(id))->text() : QString();
}

} // namespace

TEST_F(ApplicationTest, StartsWithTheCallLogInItsFrame)
{
    dir.write("CallID.dat", "01-Jan-2026\r\n10:00:00\r\n1\r\n2\r\n");
    ASSERT_TRUE(startApp());
    EXPECT_EQ(app->mainWindow().windowTitle(), "Ringvakt - Liste over de siste innringerene");
    EXPECT_EQ(app->callLogWindow()->list()->model()->rowCount(), 1);
    EXPECT_EQ(app->tray().iconId(), 101);

    // A line that cannot be had: the fatal handler has its text.
    capi.setResult(FakeCapiApi::Op::Register, 0x1008);
    EXPECT_FALSE(startApp());
    EXPECT_EQ(fatals, QStringList{CapiTexts::kNotRegistered});
}

TEST_F(ApplicationTest, WithoutATrayTheCallLogShowsWithTheTrayMenuAndStaysReachable)
{
    ASSERT_TRUE(startApp());
    MainWindow& window = app->mainWindow();
    EXPECT_TRUE(window.isVisible());
    auto* bar = window.findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->actions().contains(app->tray().menu()->menuAction()));
    // "Lukk", Enter and the close button minimise it instead of hiding it
    // for good.
    const auto dismissedAndBack = [&](const std::function<void()>& dismiss) {
        dismiss();
        const bool reachable = window.isVisible() && window.isMinimized();
        app->command(command::ShowCallLog);
        return reachable;
    };
    EXPECT_TRUE(dismissedAndBack([&] { app->callLogWindow()->command(1009); }));
    EXPECT_TRUE(
        dismissedAndBack([&] { QTest::keyClick(app->callLogWindow()->list(), Qt::Key_Return); }));
    EXPECT_TRUE(dismissedAndBack([&] { window.close(); }));

    // A panel with a tray comes: the menu bar goes, "Lukk" hides. The panel
    // goes again: the window comes back with its menu bar.
    trayPresent = true;
    app->followTray();
    EXPECT_FALSE(bar->isVisible());
    app->callLogWindow()->command(1009);
    EXPECT_FALSE(window.isVisible());
    trayPresent = false;
    app->followTray();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(bar->isVisible());
}

TEST_F(ApplicationTest, AtSessionStartItWaitsForATrayBeforeShowingTheCallLog)
{
    app = std::make_unique<Application>(
        ApplicationParts{capi, *store, sound, clock, recorder, dir.path(), lineTiming, false});
    app->setFatalHandler([this](const QString& text) { fatals << text; });
    app->setTrayWait(1200);
    ASSERT_TRUE(app->start());
    EXPECT_FALSE(app->mainWindow().isVisible()) << "not yet: the panel may come up";
    // Calls are served meanwhile.
    ring("555", "1");
    EXPECT_EQ(app->core().callLog().size(), 1);
    timers.advance(1000);
    EXPECT_FALSE(app->mainWindow().isVisible()) << "still waiting";
    timers.advance(500);
    EXPECT_TRUE(app->mainWindow().isVisible());
    EXPECT_NE(app->mainWindow().findChild<QMenuBar*>(), nullptr);

    // A tray that comes during the wait ends it, and the window stays hidden.
    app = std::make_unique<Application>(ApplicationParts{capi, *store, sound, clock, recorder,
                                                         dir.path(), lineTiming, false,
                                                         [this] { return trayPresent; }});
    app->setTrayWait(30000);
    ASSERT_TRUE(app->start());
    timers.advance(500);
    trayPresent = true;
    timers.advance(500);
    EXPECT_FALSE(app->mainWindow().isVisible());
    EXPECT_TRUE(app->mainWindow().trayPresent());
}

TEST_F(ApplicationTest, TheTrayShowsTheModeTheLineAndProblems)
{
    ASSERT_TRUE(startApp());
    TrayIcon& tray = app->tray();
    app->command(command::DisableOutput);
    EXPECT_EQ(tray.iconId(), 120);
    app->command(command::Enable);
    EXPECT_EQ(tray.iconId(), 101);
    app->command(command::Disable);
    EXPECT_EQ(tray.iconId(), 119);

    // No line: its own pictures and a tooltip that says since when.
    capi.setResult(FakeCapiApi::Op::Register, 0x1008);
    app->command(command::Enable);
    EXPECT_EQ(tray.iconId(), 131);
    EXPECT_TRUE(tray.toolTip().startsWith("Ringvakt - ingen forbindelse med linja siden "));
    app->command(command::DisableOutput);
    EXPECT_EQ(tray.iconId(), 132);
    capi.setResult(FakeCapiApi::Op::Register, 0);
    timers.advance(20);
    EXPECT_EQ(tray.iconId(), 120);
    EXPECT_EQ(tray.toolTip(), "Ringvakt");

    // A call log that cannot be saved is said in the tooltip until it can.
    app->command(command::Enable);
    QDir(dir.path()).mkpath("CallID.dat");
    ring("555", "1");
    EXPECT_TRUE(tray.toolTip().contains("CallID.dat"));
    QDir(dir.path()).rmdir("CallID.dat");
    ring("556", "1");
    EXPECT_EQ(tray.toolTip(), "Ringvakt");

    // The end takes the icon out of the tray.
    app->command(command::Exit);
    EXPECT_FALSE(tray.isVisible());
}

TEST_F(ApplicationTest, ARingShowsInThePopupAndTheCallLogAndThePopupIsReused)
{
    dir.write("PhoneBk.dat", "Hansen\r\nKari\r\n0212345678\r\n");
    ASSERT_TRUE(startApp());
    app->core().settings().MSG_CLOSE = MsgClose::AfterTimeout;
    ring("0212345678", "7654321");
    EXPECT_EQ(popupText(*app, 1004), "Kari Hansen");
    EXPECT_EQ(popupText(*app, 1003), "0212345678");
    EXPECT_EQ(popupText(*app, 1005), "7654321");
    CallPopup* first = app->popups().popup();
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->addButton()->isEnabled()) << "a known caller is not added again";
    EXPECT_EQ(app->callLogWindow()->list()->model()->rowCount(), 1);
    first->move(13, 17);

    // The next call reuses the popup where the user put it.
    ring("", "2");
    EXPECT_EQ(app->popups().popup(), first);
    EXPECT_EQ(first->pos(), QPoint(13, 17));
    EXPECT_EQ(popupText(*app, 1003), "Ukjent nummer");
    EXPECT_EQ(popupText(*app, 1004), "???");
    EXPECT_FALSE(first->addButton()->isEnabled());
    ring("4711", "2");
    EXPECT_TRUE(first->addButton()->isEnabled()) << "an unknown number can be added";

    // The close timer closes it; a later expiry finds nothing to close.
    app->core().closeTimerExpired();
    EXPECT_EQ(app->popups().popup(), nullptr);
    app->core().closeTimerExpired();
}
