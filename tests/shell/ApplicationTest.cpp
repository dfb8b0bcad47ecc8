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
#include <QElapsedTimer>
#include <QFileInfo>
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

TEST_F(ApplicationTest, StartsOnTheLineAndWritesFirstSettings)
{
    dir.write("CallID.dat", "01-Jan-2026\r\n10:00:00\r\n1\r\n2\r\n");
    ASSERT_TRUE(startApp());
    EXPECT_EQ(lineCalls(), "INSTALLED, REGISTER, GET_PROFILE, PUT(LISTEN_REQ c1)");
    EXPECT_TRUE(app->mainWindow().pollTimer().isActive());
    EXPECT_EQ(app->mainWindow().pollTimer().interval(), 1000);
    EXPECT_EQ(app->mode(), OperatingMode::Enabled);
    EXPECT_EQ(app->callLog().size(), 1) << "the call log is loaded at start";
    EXPECT_TRUE(QFileInfo(dir.file("sound")).isDir());
    // First start: the defaults are written.
    const std::string ini = dir.read("Ringvakt.ini");
    EXPECT_NE(ini.find("[V1.51]"), std::string::npos);
    EXPECT_NE(ini.find("MSN_LOG=7"), std::string::npos);
    EXPECT_EQ(app->mainWindow().windowTitle(), "Ringvakt - Liste over de siste innringerene");
    EXPECT_TRUE(fatals.isEmpty());
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
    app->setTrayWait(600);
    QElapsedTimer waited;
    waited.start();
    ASSERT_TRUE(app->start());
    EXPECT_FALSE(app->mainWindow().isVisible()) << "not yet: the panel may come up";
    // Calls are served meanwhile.
    ring("555", "1");
    EXPECT_EQ(app->callLog().size(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->mainWindow().isVisible(); }, 5000));
    EXPECT_GE(waited.elapsed(), 500);
    EXPECT_NE(app->mainWindow().findChild<QMenuBar*>(), nullptr);
}

TEST_F(ApplicationTest, StartFailsWithTheLinesText)
{
    capi.setResult(FakeCapiApi::Op::Installed, 0x1009);
    EXPECT_FALSE(startApp());
    EXPECT_EQ(fatals, QStringList{CapiTexts::kNotInstalled});
    EXPECT_FALSE(app->mainWindow().pollTimer().isActive());

    fatals.clear();
    capi.setResult(FakeCapiApi::Op::Installed, 0);
    capi.setResult(FakeCapiApi::Op::Register, 0x1008);
    EXPECT_FALSE(startApp());
    EXPECT_EQ(fatals, QStringList{CapiTexts::kNotRegistered});
}

TEST_F(ApplicationTest, ModesChangeTheLineOnlyAroundDisabled)
{
    ASSERT_TRUE(startApp());
    TrayIcon& tray = app->tray();
    capi.clearCalls();

    app->command(command::DisableOutput);
    EXPECT_EQ(app->mode(), OperatingMode::OutputDisabled);
    EXPECT_EQ(tray.iconId(), 120);
    app->command(command::Enable);
    EXPECT_EQ(tray.iconId(), 101);
    EXPECT_EQ(lineCalls(), "") << "no release or registration between the two";

    app->command(command::Disable);
    EXPECT_EQ(lineCalls(), "RELEASE");
    EXPECT_FALSE(app->mainWindow().pollTimer().isActive());
    EXPECT_EQ(tray.iconId(), 119);
    capi.clearCalls();
    app->command(command::Disable);
    EXPECT_EQ(lineCalls(), "") << "the same mode again only sets the tray again";

    app->command(command::DisableOutput);
    EXPECT_EQ(lineCalls(), "INSTALLED, REGISTER, GET_PROFILE, PUT(LISTEN_REQ c1)");
    EXPECT_TRUE(app->mainWindow().pollTimer().isActive());
    EXPECT_EQ(tray.iconId(), 120);
}

TEST_F(ApplicationTest, ShutdownReleasesOnceAndNotWhenDisabled)
{
    ASSERT_TRUE(startApp());
    capi.clearCalls();
    app->command(command::Exit);
    app->Shutdown();
    EXPECT_EQ(lineCalls(), "RELEASE");
    EXPECT_FALSE(app->mainWindow().pollTimer().isActive());
    EXPECT_TRUE(app->isShutDown());

    ASSERT_TRUE(startApp());
    app->command(command::Disable);
    capi.clearCalls();
    app->command(command::Exit);
    EXPECT_EQ(lineCalls(), "");
    EXPECT_TRUE(fatals.isEmpty());
}

TEST_F(ApplicationTest, LeavingDisabledWithoutALineIsNotFatal)
{
    ASSERT_TRUE(startApp());
    app->command(command::Disable);
    capi.setResult(FakeCapiApi::Op::Register, 0x1008);
    app->command(command::Enable);
    EXPECT_TRUE(fatals.isEmpty());
    EXPECT_EQ(app->capiLine()->state(), LineKeeper::State::Lost);
    EXPECT_EQ(app->tray().iconId(), 131);
    EXPECT_TRUE(app->tray().toolTip().startsWith("Ringvakt - ingen forbindelse med linja siden "));
    app->command(command::DisableOutput);
    EXPECT_EQ(app->tray().iconId(), 132);

    // The line answers again: the next try brings everything back.
    capi.setResult(FakeCapiApi::Op::Register, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->capiLine()->state() == LineKeeper::State::Up; }));
    EXPECT_EQ(app->tray().iconId(), 120);
    EXPECT_EQ(app->tray().toolTip(), "Ringvakt");

    // Entering Disabled while the line is gone stops the tries and shows the
    // disabled picture.
    capi.setResult(FakeCapiApi::Op::Get, kCapiLineLost);
    app->pollTick();
    EXPECT_EQ(app->capiLine()->state(), LineKeeper::State::Lost);
    app->command(command::Disable);
    EXPECT_EQ(app->tray().iconId(), 119);
    EXPECT_EQ(app->tray().toolTip(), "Ringvakt");
    capi.clearCalls();
    QTest::qWait(150);
    EXPECT_EQ(lineCalls(), "") << "no tries while disabled";
}

TEST_F(ApplicationTest, ARingIsLoggedAnsweredAndAnnounced)
{
    dir.write("PhoneBk.dat", "Hansen\r\nKari\r\n0212345678\r\n");
    ASSERT_TRUE(startApp());
    capi.clearCalls();
    ring("0212345678", "7654321");

    EXPECT_EQ(lineCalls(), "PUT(CONNECT_RESP), RELEASE, INSTALLED, REGISTER, GET_PROFILE, "
                           "PUT(LISTEN_REQ c1)");
    ASSERT_EQ(app->callLog().size(), 1);
    EXPECT_EQ(dir.read("CallID.dat"), "06-Des-2026\r\n02:39:46\r\n7654321\r\n0212345678\r\n");
    EXPECT_EQ(sound.played, QStringList{"beep 400 400"});
    EXPECT_EQ(popupText(*app, 1004), "Kari Hansen");
    EXPECT_EQ(popupText(*app, 1003), "0212345678");
    EXPECT_EQ(popupText(*app, 1005), "7654321");
    EXPECT_FALSE(app->popups().popup()->addButton()->isEnabled());
    // The row is in the call log window at once.
    EXPECT_EQ(app->callLogWindow()->list()->model()->rowCount(), 1);
}

TEST_F(ApplicationTest, PopupIsReusedInPlaceForTheNextCall)
{
    ASSERT_TRUE(startApp());
    ring("555", "1");
    CallPopup* first = app->popups().popup();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(first->addButton()->isEnabled()) << "an unknown number can be added";
    first->move(13, 17);

    ring("", "2");
    EXPECT_EQ(app->popups().popup(), first);
    EXPECT_EQ(first->pos(), QPoint(13, 17));
    EXPECT_EQ(popupText(*app, 1003), "Ukjent nummer");
    EXPECT_EQ(popupText(*app, 1004), "???");
    EXPECT_FALSE(first->addButton()->isEnabled());

    // "-> Katalog" hands the number on; the popup stays as it is.
    QStringList added;
    app->addNumberToPhoneBook = [&](const QString& n) { added << n; };
    ring("4711", "2");
    first->addButton()->click();
    EXPECT_EQ(added, QStringList{"4711"});
    EXPECT_EQ(app->popups().popup(), first);
}

TEST_F(ApplicationTest, CloseTimerClosesThePopup)
{
    ASSERT_TRUE(startApp());
    app->settings().MSG_CLOSE = 2;
    app->settings().MSG_CLOSE_TIMEOUT = 3;
    ring("555", "1");
    QTimer& timer = app->mainWindow().closeTimer();
    EXPECT_TRUE(timer.isActive());
    EXPECT_EQ(timer.interval(), 3000);

    app->closeTimerExpired();
    EXPECT_FALSE(timer.isActive());
    EXPECT_EQ(app->popups().popup(), nullptr);
    app->closeTimerExpired(); // with no popup: nothing happens

    // A popup closed by the user: the later expiry finds nothing.
    ring("555", "1");
    app->popups().popup()->close();
    EXPECT_EQ(app->popups().popup(), nullptr);
    app->closeTimerExpired();

    // A huge delay is capped at what a timer takes, never wrapped to zero.
    app->settings().MSG_CLOSE_TIMEOUT = 4000000000u;
    ring("555", "1");
    EXPECT_EQ(timer.interval(), INT_MAX);
}

TEST_F(ApplicationTest, OutputDisabledLogsWithoutAnnouncing)
{
    ASSERT_TRUE(startApp());
    app->command(command::DisableOutput);
    ring("555", "1");
    EXPECT_EQ(app->callLog().size(), 1);
    EXPECT_TRUE(sound.played.isEmpty());
    EXPECT_EQ(app->popups().popup(), nullptr);
}

TEST_F(ApplicationTest, CommandsDuringACallWaitUntilItIsOver)
{
    ASSERT_TRUE(startApp());
    capi.clearCalls();
    // Delivered while the beep plays (the sound's wait loop keeps the event
    // loop turning): the mode change must not cut into the call.
    QTimer::singleShot(0, app.get(), [this] { app->command(command::Disable); });
    ring("555", "1");
    EXPECT_EQ(app->mode(), OperatingMode::Enabled) << "not yet: the call was being announced";
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(app->mode(), OperatingMode::Disabled);
    EXPECT_EQ(lineCalls(), "PUT(CONNECT_RESP), RELEASE, INSTALLED, REGISTER, GET_PROFILE, "
                           "PUT(LISTEN_REQ c1), RELEASE");
}

TEST_F(ApplicationTest, CallLogSaveFailureShowsInTheTooltip)
{
    ASSERT_TRUE(startApp());
    QDir(dir.path()).mkpath("CallID.dat");
    ring("555", "1");
    EXPECT_EQ(app->callLog().size(), 1);
    EXPECT_TRUE(app->tray().toolTip().contains("CallID.dat"));
    QDir(dir.path()).rmdir("CallID.dat");
    ring("556", "1");
    EXPECT_EQ(app->tray().toolTip(), "Ringvakt");
    EXPECT_EQ(app->callLog().size(), 2);
    EXPECT_NE(dir.read("CallID.dat").find("555"), std::string::npos)
        << "the row kept in memory is written by the next save";
}
