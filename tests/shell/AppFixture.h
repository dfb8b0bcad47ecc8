#pragma once

#include "FakeCapiApi.h"
#include "FakeCapiMessages.h"
#include "settings/SettingsStore.h"
#include "shell/Application.h"
#include "support/FakeClock.h"
#include "support/FakeRecorderStarter.h"
#include "support/FakeRetryTimers.h"
#include "support/FakeSoundOutput.h"
#include "support/QtPrinting.h"
#include "support/TempDataDir.h"

#include <gtest/gtest.h>
#include <memory>

namespace test {

// The whole program on a scripted line, a temporary data directory and
// settings file, a recording sound output and a fixed clock. Message boxes
// are answered by the test; a fatal line failure is recorded instead of
// ending the process.
class AppFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds and starts the program; false when start() failed.
    bool startApp();
    // Queues a call indication and runs one poll tick.
    void ring(const std::string& from, const std::string& to);
    // The fake line's calls since the last clear, without the polls.
    std::string lineCalls() const { return capi.summary(true); }

    TempDataDir dir;
    FakeCapiApi capi;
    std::unique_ptr<IniSettingsStore> store;
    FakeSoundOutput sound;
    FakeClock clock;
    FakeRecorderStarter recorder;
    // Tries after a lost line come after 20 and then every 40 ms of the
    // retry timers' clock, which the test moves.
    FakeRetryTimers timers;
    LineTiming lineTiming = [this] {
        LineTiming t;
        t.retryDelaysMs = {20, 40};
        t.retryTimers = &timers;
        return t;
    }();
    // Whether the desktop has a tray (the offscreen platform has none).
    bool trayPresent = false;
    std::unique_ptr<Application> app;
    QStringList fatals;
    uint16_t messageNumber = 1;
};

} // namespace test
