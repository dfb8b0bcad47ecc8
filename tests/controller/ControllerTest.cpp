#include "controller/Controller.h"

#include "FakeCapiApi.h"
#include "FakeCapiMessages.h"
#include "calllog/CallLog.h"
#include "capi/CapiTexts.h"
#include "capi/LineKeeper.h"
#include "line/Line.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "support/AnnouncementsDone.h"
#include "support/FakeClock.h"
#include "support/FakeRetryTimers.h"
#include "support/FakeSoundOutput.h"
#include "support/QtPrinting.h"
#include "support/TempDataDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <climits>
#include <gtest/gtest.h>
#include <memory>

using Op = FakeCapiApi::Op;

namespace {

// The popup as the core sees it: what it was asked to show and to close.
class RecordingPopup : public CallPopupPresenter
{
public:
    void showCallPopup(const std::string& number, const std::string& msn, const std::string& name,
                       bool delivered, bool inBook) override
    {
        events << QStringLiteral("show %1|%2|%3|%4")
                      .arg(QString::fromStdString(number), QString::fromStdString(msn),
                           QString::fromStdString(name),
                           QLatin1String(delivered && !inBook ? "add" : "noadd"));
    }
    void closeCallPopup() override { events << QStringLiteral("close"); }

    QStringList events;
};

// The core on a scripted line (registrations at once), a temporary data
// directory and settings file, a recording sound output and popup, a fixed
// clock and retry timers moved by hand.
class ControllerTest : public ::testing::Test
{
protected:
    bool start(bool inBackground = false, int callLimitMs = 5000)
    {
        LineTiming timing;
        timing.retryDelaysMs = {20, 40};
        timing.retryTimers = &timers;
        timing.callLimitMs = callLimitMs;
        core = std::make_unique<Controller>(ControllerParts{
            capi, store, sound, clock, popup, nullptr, dir.path(), timing, inBackground});
        core->setFatalHandler([this](const QString& text) { fatals << text; });
        return core->start();
    }

    void ring(const std::string& from, const std::string& to = "1")
    {
        using namespace FakeCapiMessages;
        capi.queueMessage(
            connectInd(messageNumber++, 0x101, 1, calledNumber(to), callingNumber(from)));
        core->pollTick();
        EXPECT_TRUE(test::announcementsDone(*core));
    }

    std::string lineCalls() const { return capi.summary(true); }
    LineKeeper::State lineState() const { return core->capiLine()->state(); }

    test::TempDataDir dir;
    FakeCapiApi capi;
    IniSettingsStore store{dir.file("Ringvakt.ini")};
    test::FakeSoundOutput sound;
    test::FakeClock clock;
    test::FakeRetryTimers timers;
    RecordingPopup popup;
    std::unique_ptr<Controller> core;
    QStringList fatals;
    uint16_t messageNumber = 1;
};

} // namespace

TEST_F(ControllerTest, StartsOnTheLineLoadsTheLogAndWritesFirstSettings)
{
    dir.write("CallID.dat", "01-Jan-2026\r\n10:00:00\r\n1\r\n2\r\n");
    ASSERT_TRUE(start());
    EXPECT_EQ(lineCalls(), "INSTALLED, REGISTER, GET_PROFILE, PUT(LISTEN_REQ c1)");
    EXPECT_TRUE(core->pollTimer().isActive());
    EXPECT_EQ(core->pollTimer().interval(), 1000);
    EXPECT_EQ(core->mode(), OperatingMode::Enabled);
    EXPECT_EQ(core->callLog().size(), 1);
    EXPECT_TRUE(QFileInfo(dir.file("sound")).isDir());
    const std::string ini = dir.read("Ringvakt.ini");
    EXPECT_NE(ini.find("[V1.51]"), std::string::npos);
    EXPECT_NE(ini.find("MSN_LOG=7"), std::string::npos);

    // A line that cannot be had at start is fatal, with its text.
    capi.setResult(Op::Register, 0x1008);
    EXPECT_FALSE(start());
    EXPECT_EQ(fatals, QStringList{CapiTexts::kNotRegistered});
    EXPECT_FALSE(core->pollTimer().isActive());
}

TEST_F(ControllerTest, ModesTouchTheLineOnlyAroundDisabledAndShutdownReleasesOnce)
{
    ASSERT_TRUE(start());
    QSignalSpy changes(core.get(), &Controller::stateChanged);
    capi.clearCalls();
    core->SetOperatingMode(OperatingMode::OutputDisabled);
    core->SetOperatingMode(OperatingMode::Enabled);
    EXPECT_EQ(lineCalls(), "") << "no release or registration between the two";
    EXPECT_EQ(changes.size(), 2);

    core->SetOperatingMode(OperatingMode::Disabled);
    EXPECT_EQ(lineCalls(), "RELEASE");
    EXPECT_FALSE(core->pollTimer().isActive());
    core->SetOperatingMode(OperatingMode::Disabled);
    EXPECT_EQ(lineCalls(), "RELEASE") << "the same mode again touches nothing";

    core->SetOperatingMode(OperatingMode::OutputDisabled);
    EXPECT_EQ(lineCalls(), "RELEASE, INSTALLED, REGISTER, GET_PROFILE, PUT(LISTEN_REQ c1)");
    EXPECT_TRUE(core->pollTimer().isActive());

    capi.clearCalls();
    core->Shutdown();
    core->Shutdown();
    EXPECT_EQ(lineCalls(), "RELEASE");
    EXPECT_TRUE(core->isShutDown());

    // Ending while disabled releases nothing.
    ASSERT_TRUE(start());
    core->SetOperatingMode(OperatingMode::Disabled);
    capi.clearCalls();
    core->Shutdown();
    EXPECT_EQ(lineCalls(), "");
    EXPECT_TRUE(fatals.isEmpty());
}

TEST_F(ControllerTest, ALineThatDoesNotAnswerIsTriedOnScheduleAndNeverWhileDisabled)
{
    ASSERT_TRUE(start());
    core->SetOperatingMode(OperatingMode::Disabled);
    capi.setResult(Op::Register, 0x1008);
    core->SetOperatingMode(OperatingMode::Enabled);
    EXPECT_TRUE(fatals.isEmpty()) << "leaving Disabled without a line is not fatal";
    EXPECT_EQ(lineState(), LineKeeper::State::Lost);
    EXPECT_TRUE(core->line().isLineLost());

    // The tries come after 20 ms, then every 40 ms; the line answers again.
    capi.clearCalls();
    timers.advance(19);
    EXPECT_EQ(lineCalls(), "");
    timers.advance(1);
    EXPECT_EQ(lineCalls(), "INSTALLED, REGISTER");
    capi.setResult(Op::Register, 0);
    timers.advance(40);
    EXPECT_EQ(lineState(), LineKeeper::State::Up);
    EXPECT_FALSE(core->line().isLineLost());

    // Lost again and disabled: no more tries.
    capi.setResult(Op::Get, kCapiLineLost);
    core->pollTick();
    EXPECT_EQ(lineState(), LineKeeper::State::Lost);
    core->SetOperatingMode(OperatingMode::Disabled);
    capi.clearCalls();
    timers.advance(60000);
    EXPECT_EQ(lineCalls(), "");
    EXPECT_FALSE(timers.anyActive());
}

TEST_F(ControllerTest, ARingIsAnsweredLoggedAndAnnouncedAsTheSettingsSay)
{
    dir.write("PhoneBk.dat", "Hansen\r\nKari\r\n0212345678\r\n");
    ASSERT_TRUE(start());
    core->settings().MSG_CLOSE = MsgClose::AfterTimeout;
    core->settings().MSG_CLOSE_TIMEOUT = 3;
    capi.clearCalls();
    ring("0212345678", "7654321");

    EXPECT_EQ(lineCalls(), "PUT(CONNECT_RESP), INSTALLED, REGISTER, GET_PROFILE, "
                           "PUT(LISTEN_REQ c1), RELEASE");
    EXPECT_EQ(dir.read("CallID.dat"), "06-Des-2026\r\n02:39:46\r\n7654321\r\n0212345678\r\n");
    EXPECT_EQ(sound.played, QStringList{"beep 400 400"});
    EXPECT_EQ(popup.events, QStringList{"show 0212345678|7654321|Kari Hansen|noadd"});

    // The close timer closes the popup; a huge delay is capped at what a
    // timer takes, never wrapped to zero.
    EXPECT_TRUE(core->closeTimer().isActive());
    EXPECT_EQ(core->closeTimer().interval(), 3000);
    core->closeTimerExpired();
    EXPECT_FALSE(core->closeTimer().isActive());
    EXPECT_EQ(popup.events.last(), "close");
    core->settings().MSG_CLOSE_TIMEOUT = 4000000000u;
    ring("555");
    EXPECT_EQ(core->closeTimer().interval(), INT_MAX);

    // Logging only: a row, nothing else.
    core->SetOperatingMode(OperatingMode::OutputDisabled);
    popup.events.clear();
    sound.played.clear();
    ring("556");
    EXPECT_EQ(core->callLog().size(), 3);
    EXPECT_TRUE(sound.played.isEmpty());
    EXPECT_TRUE(popup.events.isEmpty());
}

TEST_F(ControllerTest, CallsAreRecordedAtOnceAndAnnouncedOneAfterAnotherInTheirOrder)
{
    // Kari has a personal sound; the sounds end only when the test says so.
    dir.write("PhoneBk.dat", "Hansen\r\nKari\r\n201\r\n");
    dir.write("sound/201.wav", "RIFF");
    ASSERT_TRUE(start());
    core->settings().MSG_CLOSE = MsgClose::AfterTimeout;
    core->settings().PSOUND = PersonalSounds::On;
    capi.clearCalls();
    sound.hold = true;
    const auto ringNow = [this](const std::string& from, int second) {
        using namespace FakeCapiMessages;
        clock.moment.second = second;
        capi.queueMessage(
            connectInd(messageNumber++, 0x101, 1, calledNumber("1"), callingNumber(from)));
        core->pollTick();
    };
    const auto soundsStarted = [this](int count) {
        return QTest::qWaitFor([&] { return sound.startedAndPlaying() == count; });
    };

    ringNow("201", 10);
    ASSERT_TRUE(soundsStarted(1));
    EXPECT_EQ(sound.played, QStringList{"beep 400 400"});

    // While Kari's beep plays: a command and the popup's close wait for
    // the announcement; a second ring is answered and logged at once, with
    // the second in which it rang.
    QStringList order;
    core->whenIdle([&] { order << "first"; });
    core->closeTimerExpired();
    ringNow("555", 12);
    EXPECT_EQ(capi.callsOf(Op::Put).size(), 4u) << "two CONNECT_RESP, two LISTEN_REQ";
    EXPECT_EQ(dir.read("CallID.dat"), "06-Des-2026\r\n02:39:10\r\n1\r\n201\r\n"
                                      "06-Des-2026\r\n02:39:12\r\n1\r\n555\r\n");
    EXPECT_TRUE(order.isEmpty());
    EXPECT_TRUE(popup.events.isEmpty());

    // Kari's popup, then her sound; the next call waits for its end.
    sound.finish();
    ASSERT_TRUE(soundsStarted(1));
    EXPECT_EQ(popup.events, QStringList{"show 201|1|Kari Hansen|noadd"});
    EXPECT_EQ(sound.played.last(), "play " + dir.file("sound/201.wav"));
    EXPECT_TRUE(order.isEmpty());
    sound.finish();
    ASSERT_TRUE(soundsStarted(1));
    EXPECT_EQ(order, QStringList{"first"}) << "held-back work runs between announcements";
    EXPECT_EQ(popup.events.mid(1, 1), QStringList{"close"});
    EXPECT_EQ(sound.played.last(), "beep 400 400");

    // A call that waited more than 30 s for its turn is logged, not
    // announced.
    ringNow("556", 14);
    clock.advance(30001);
    sound.finish();
    ASSERT_TRUE(test::announcementsDone(*core));
    EXPECT_EQ(popup.events.last(), "show 555|1|???|add");
    EXPECT_EQ(core->callLog().size(), 3);

    // The end stops what plays at once and announces nothing more.
    ringNow("557", 16);
    ringNow("558", 17);
    ASSERT_TRUE(soundsStarted(1));
    core->Shutdown();
    EXPECT_EQ(sound.stops, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(popup.events.last(), "show 555|1|???|add");
    EXPECT_EQ(core->callLog().size(), 5);
}

TEST_F(ControllerTest, NeverTwoWorkersInTheLibraryAndAnAttemptThatNeverEndsIsGivenUp)
{
    // Registrations on a worker; an attempt that has not ended after three
    // call limits (300 ms here) is given up.
    ASSERT_TRUE(start(true, 100));
    capi.countApplIds();
    const auto up = [this] {
        return QTest::qWaitFor([this] {
            return core->capiLine() && core->capiLine()->state() == LineKeeper::State::Up;
        });
    };

    // The line goes to the call monitor and back to CAPI while the worker
    // of the line before waits inside the library: the new line waits for
    // it.
    capi.closeGate(Op::Register);
    ring("555");
    ASSERT_TRUE(capi.waitAtGate(Op::Register));
    core->settings().LINE = LineKind::CallMonitor;
    core->settings().CALLMONITOR_HOST = "127.0.0.1";
    core->settingsChanged();
    core->settings().LINE = LineKind::Capi;
    core->settingsChanged();
    ASSERT_TRUE(core->backgroundWorkRunning());
    EXPECT_EQ(core->capiLine()->state(), LineKeeper::State::Connecting);
    capi.openGate(Op::Register);
    ASSERT_TRUE(up());
    EXPECT_FALSE(capi.overlapped()) << "two workers were inside the library at once";
    EXPECT_EQ(capi.standing().size(), 1u);

    // A registration that never comes back: the line is lost and tried
    // again, and the worker left behind keeps what it holds until it ends.
    capi.closeGate(Op::Register);
    ring("556");
    ASSERT_TRUE(capi.waitAtGate(Op::Register));
    ASSERT_TRUE(QTest::qWaitFor([this] { return core->line().isLineLost(); }));
    EXPECT_TRUE(core->backgroundWorkRunning()) << "the worker given up still runs";
    capi.openGate(Op::Register);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !core->backgroundWorkRunning(); }));
    timers.advance(20);
    ASSERT_TRUE(up());
    EXPECT_EQ(capi.standing().size(), 1u) << "what the given-up worker made was let go";
    EXPECT_EQ(core->callLog().size(), 2);
    EXPECT_TRUE(fatals.isEmpty());
}

TEST_F(ControllerTest, AFailedSaveOfTheLogIsAProblemUntilASaveSucceeds)
{
    ASSERT_TRUE(start());
    QSignalSpy problems(core.get(), &Controller::problemChanged);
    QDir(dir.path()).mkpath("CallID.dat");
    ring("555");
    EXPECT_EQ(core->callLog().size(), 1);
    ASSERT_EQ(problems.size(), 1);
    EXPECT_EQ(problems.last().at(0).toString(), "Kunne ikke skrive CallID.dat");
    QDir(dir.path()).rmdir("CallID.dat");
    ring("556");
    EXPECT_EQ(problems.last().at(0).toString(), "");
    EXPECT_NE(dir.read("CallID.dat").find("555"), std::string::npos)
        << "the row kept in memory is written by the next save";
}
