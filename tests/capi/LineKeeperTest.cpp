#include "capi/LineKeeper.h"

#include "FakeCapiApi.h"
#include "FakeCapiMessages.h"
#include "capi/CapiLink.h"
#include "capi/CapiTexts.h"
#include "support/FakeRetryTimers.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <set>
#include <thread>

using Op = FakeCapiApi::Op;
using State = LineKeeper::State;

namespace {

// The keeper on a scripted line: registrations at once (inline), tries
// after a few milliseconds, reports and fatal texts recorded.
class LineKeeperTest : public ::testing::Test
{
protected:
    explicit LineKeeperTest(LineKeeper::Execution execution = LineKeeper::Execution::Inline)
        : keeper(api, timing(), execution)
    {
        keeper.setFatalHandler(
            [this](const QString& text) { fatals.push_back(text.toStdString()); });
        keeper.setReport([this](const QString& line) { reports.push_back(line.toStdString()); });
    }

    LineTiming timing()
    {
        LineTiming t;
        t.retryDelaysMs = {10, 20, 40};
        t.retryTimers = &timers;
        return t;
    }

    // Moves the retry timers on until the keeper is in the state.
    bool retriedUntil(State state)
    {
        for (int i = 0; i < 10 && keeper.state() != state; ++i)
            timers.advance(40);
        return keeper.state() == state;
    }

    bool waitFor(State state, int ms = 5000)
    {
        return QTest::qWaitFor([&] { return keeper.state() == state; }, ms);
    }

    void ring()
    {
        using namespace FakeCapiMessages;
        api.queueMessage(connectInd(5, 0x101, 1, calledNumber("1"), callingNumber("2")));
        keeper.poll();
    }

    FakeCapiApi api;
    test::FakeRetryTimers timers;
    LineKeeper keeper;
    std::vector<std::string> fatals;
    std::vector<std::string> reports;
};

} // namespace

TEST(LineTiming, BackOffAndTestOverrides)
{
    const LineTiming defaults;
    std::vector<int> delays;
    for (int i = 0; i < 8; ++i)
        delays.push_back(defaults.retryDelayMs(i));
    EXPECT_EQ(delays, (std::vector<int>{1000, 2000, 4000, 8000, 16000, 30000, 30000, 30000}));
    EXPECT_EQ(defaults.keepAliveIdleSeconds +
                  defaults.keepAliveIntervalSeconds * defaults.keepAliveCount,
              110)
        << "a vanished line is noticed within two minutes";

    LineTiming t;
    ASSERT_TRUE(LineTiming::parse("call=1500,retry=100:200,keepalive=1:1:2", &t));
    EXPECT_EQ(t.callLimitMs, 1500);
    EXPECT_EQ(t.retryDelayMs(5), 200);
    EXPECT_EQ(t.keepAliveCount, 2);
    LineTiming unchanged;
    EXPECT_FALSE(LineTiming::parse("retry=-1", &unchanged));
    EXPECT_FALSE(LineTiming::parse("bogus=1", &unchanged));
    EXPECT_EQ(unchanged.retryDelayMs(0), 1000);
}

TEST_F(LineKeeperTest, StartUpFailureStaysFatal)
{
    api.setResult(Op::Register, 0x1008);
    EXPECT_FALSE(keeper.startUp());
    EXPECT_EQ(fatals, std::vector<std::string>{CapiTexts::kNotRegistered});
    EXPECT_TRUE(reports.empty());
}

TEST_F(LineKeeperTest, FailedRegistrationAfterACallIsANoLineStateWithRetries)
{
    ASSERT_TRUE(keeper.startUp());
    api.clearCalls();
    api.scriptResult(Op::Installed, 0x1009); // right after the call
    api.scriptResult(Op::Register, 0x1008);  // first try
    api.scriptResult(Op::Register, 0x1008);  // second try
    ring();
    EXPECT_EQ(keeper.state(), State::Lost);
    EXPECT_TRUE(keeper.isLineLost());
    EXPECT_TRUE(fatals.empty());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("line lost: " + std::string(CapiTexts::kNotInstalled)),
              std::string::npos);

    // The first try comes 10 ms later, not before.
    timers.advance(9);
    EXPECT_EQ(api.summary(true), "PUT(CONNECT_RESP), INSTALLED, RELEASE");
    timers.advance(1);
    EXPECT_EQ(api.summary(true), "PUT(CONNECT_RESP), INSTALLED, RELEASE, INSTALLED, REGISTER");
    ASSERT_TRUE(retriedUntil(State::Up));
    EXPECT_EQ(keeper.attempts(), 0);
    EXPECT_FALSE(keeper.isLineLost());
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_NE(reports[1].find("line back after 3 tries"), std::string::npos);
    EXPECT_EQ(api.summary(true),
              "PUT(CONNECT_RESP), INSTALLED, RELEASE, INSTALLED, REGISTER, INSTALLED, REGISTER, "
              "INSTALLED, REGISTER, GET_PROFILE, PUT(LISTEN_REQ c1)");
}

TEST_F(LineKeeperTest, ClosedConnectionIsLostAtOnceAndReleasedBeforeTheTry)
{
    ASSERT_TRUE(keeper.startUp());
    api.clearCalls();
    api.scriptResult(Op::Get, kCapiLineLost);
    keeper.poll();
    EXPECT_EQ(keeper.state(), State::Lost);
    EXPECT_EQ(reports.size(), 1u);
    ASSERT_TRUE(retriedUntil(State::Up));
    EXPECT_EQ(api.summary(true), "RELEASE, INSTALLED, REGISTER, GET_PROFILE, PUT(LISTEN_REQ c1)");
}

TEST_F(LineKeeperTest, FailedListenRequestCountsAsNoLine)
{
    ASSERT_TRUE(keeper.startUp());
    api.scriptResult(Op::Put, 0);             // the CONNECT_RESP
    api.scriptResult(Op::Put, kCapiLineLost); // the LISTEN_REQ after the call
    ring();
    EXPECT_EQ(keeper.state(), State::Lost);
    EXPECT_FALSE(keeper.link().isRegistered()) << "the half-made registration is let go";
    ASSERT_TRUE(retriedUntil(State::Up));
}

TEST_F(LineKeeperTest, SwitchingOffStopsTheTriesAndOnTriesAtOnce)
{
    ASSERT_TRUE(keeper.startUp());
    api.setResult(Op::Installed, 0x1009);
    api.scriptResult(Op::Get, kCapiLineLost);
    keeper.poll();
    ASSERT_EQ(keeper.state(), State::Lost);
    keeper.switchOff();
    EXPECT_EQ(keeper.state(), State::Off);
    EXPECT_FALSE(keeper.isLineLost());
    api.clearCalls();
    timers.advance(60000);
    EXPECT_EQ(api.summary(true), "") << "no tries while off";
    EXPECT_FALSE(timers.anyActive());

    api.setResult(Op::Installed, 0);
    keeper.switchOn();
    EXPECT_EQ(keeper.state(), State::Up) << "at once, not after a delay";
    EXPECT_EQ(api.summary(true), "INSTALLED, REGISTER, GET_PROFILE, PUT(LISTEN_REQ c1)");

    // Off releases a standing registration; a failing release is no reason
    // to stop the program.
    api.setResult(Op::Release, 0x1101);
    keeper.switchOff();
    EXPECT_FALSE(keeper.link().isRegistered());
    EXPECT_TRUE(fatals.empty());
}

TEST_F(LineKeeperTest, ARefusedListenIsStillFatal)
{
    ASSERT_TRUE(keeper.startUp());
    api.queueMessage(FakeCapiMessages::listenConf(1, 0x0100));
    keeper.poll();
    EXPECT_EQ(fatals, std::vector<std::string>{CapiTexts::kNoListenConf});
}

TEST_F(LineKeeperTest, ShutDownReleasesOnceAndNothingMore)
{
    ASSERT_TRUE(keeper.startUp());
    api.clearCalls();
    keeper.shutDown();
    keeper.shutDown();
    EXPECT_EQ(api.summary(true), "RELEASE");
    EXPECT_EQ(keeper.state(), State::Off);
}

namespace {
class LineKeeperThreadTest : public LineKeeperTest
{
protected:
    LineKeeperThreadTest() : LineKeeperTest(LineKeeper::Execution::Thread) {}
};
} // namespace

TEST_F(LineKeeperThreadTest, RegistrationAfterACallRunsInTheBackground)
{
    ASSERT_TRUE(keeper.startUp());
    ring();
    EXPECT_EQ(keeper.state(), State::Connecting);
    keeper.poll(); // nothing is fetched while the worker has the link
    ASSERT_TRUE(waitFor(State::Up));
    EXPECT_TRUE(keeper.link().isRegistered());
    EXPECT_TRUE(reports.empty());
}

TEST_F(LineKeeperThreadTest, OffOnAndTheEndWhileTheLineIsRegisteredAnewLeaveOneOwnerAndLoseNoCall)
{
    using namespace FakeCapiMessages;
    api.countApplIds();
    std::vector<std::string> heard;
    QObject::connect(&keeper, &Line::incomingCall, [&](const LineCall& call) {
        heard.push_back(call.callingNumber.mid(3, call.callingNumber.at(0) - 2).toStdString());
    });
    QObject::connect(
        &keeper, &Line::callsWaiting, &keeper, [this] { keeper.poll(); }, Qt::QueuedConnection);
    const auto ringFrom = [this](std::initializer_list<const char*> callers) {
        for (const char* caller : callers)
            api.queueMessage(connectInd(5, 0x101, 1, calledNumber("1"), callingNumber(caller)));
        keeper.poll();
    };
    const auto workerDone = [this] {
        return QTest::qWaitFor([this] { return !keeper.backgroundWorkRunning(); });
    };
    const std::thread::id programThread = std::this_thread::get_id();
    ASSERT_TRUE(keeper.startUp());

    // Off and on while the registration after a call waits for the line:
    // the registration it makes is the one that stands. The second ring,
    // queued behind the first, is answered and handed on after it.
    api.closeGate(Op::Register);
    ringFrom({"2", "3"});
    ASSERT_TRUE(api.waitAtGate(Op::Register));
    keeper.switchOff();
    keeper.switchOn();
    EXPECT_EQ(keeper.state(), State::Connecting);
    api.openGate(Op::Register);
    ASSERT_TRUE(waitFor(State::Up));
    EXPECT_EQ(api.standing(), std::set<unsigned>{2});
    ASSERT_TRUE(QTest::qWaitFor([&] { return heard.size() == 2; }));

    // Off while it waits, registered but not yet listening: what it made is
    // let go on the worker.
    api.closeGate(Op::GetProfile);
    ringFrom({"4"});
    ASSERT_TRUE(api.waitAtGate(Op::GetProfile));
    keeper.switchOff();
    api.openGate(Op::GetProfile);
    ASSERT_TRUE(workerDone());
    EXPECT_EQ(keeper.state(), State::Off);
    EXPECT_TRUE(api.standing().empty());
    const auto releases = api.callsOf(Op::Release);
    ASSERT_FALSE(releases.empty());
    EXPECT_EQ(releases.back().applId, 3u);
    EXPECT_NE(releases.back().thread, programThread);

    // On again, then the end while a registration waits: not waited for,
    // and nothing is left standing.
    keeper.switchOn();
    ASSERT_TRUE(waitFor(State::Up));
    api.closeGate(Op::GetProfile);
    ringFrom({"5"});
    ASSERT_TRUE(api.waitAtGate(Op::GetProfile));
    keeper.shutDown();
    EXPECT_TRUE(keeper.backgroundWorkRunning());
    api.openGate(Op::GetProfile);
    ASSERT_TRUE(workerDone());
    EXPECT_TRUE(api.standing().empty());

    EXPECT_EQ(heard, (std::vector<std::string>{"2", "3", "4", "5"}));
    EXPECT_EQ(api.mostStanding(), 2u) << "the next registration listens before the old goes";
    EXPECT_EQ(api.callsOf(Op::Put).size(), 4u + 5u) << "four CONNECT_RESP, five LISTEN_REQ";
    EXPECT_FALSE(api.overlapped()) << "the link was used by two threads at once";
    const auto registers = api.callsOf(Op::Register);
    for (std::size_t i = 1; i < registers.size(); ++i)
        EXPECT_NE(registers[i].thread, programThread) << "registration " << i;
    EXPECT_TRUE(fatals.empty());
}
