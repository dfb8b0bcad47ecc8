#include "calls/IncomingCall.h"

#include "CallTestSupport.h"
#include "calllog/CallLog.h"
#include "calls/CallAnnouncer.h"
#include "calls/OperatingMode.h"
#include "settings/Settings.h"
#include "support/FakeClock.h"
#include "support/FakeSoundOutput.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Puts every beep, sound, popup and timer into one list, in the order they
// happened.
class Recorder : public CallPopupPresenter, public CloseTimer, public CallNotifier
{
public:
    explicit Recorder(QStringList& events) : m_events(events) {}
    void showCallPopup(const std::string& number, const std::string& msn, const std::string& name,
                       bool delivered, bool inBook) override
    {
        m_events << QStringLiteral("popup %1|%2|%3|%4")
                        .arg(QString::fromStdString(number), QString::fromStdString(msn),
                             QString::fromStdString(name),
                             QLatin1String(delivered && !inBook ? "add" : "noadd"));
    }
    void closeCallPopup() override { m_events << QStringLiteral("close"); }
    void arm(quint64 ms) override { m_events << QStringLiteral("timer %1").arg(ms); }
    void notifyCall(const std::string& number, const std::string& msn, const std::string& name,
                    bool delivered, bool inBook) override
    {
        m_events << QStringLiteral("notify %1|%2|%3|%4")
                        .arg(QString::fromStdString(number), QString::fromStdString(msn),
                             QString::fromStdString(name),
                             QLatin1String(delivered && !inBook ? "add" : "noadd"));
    }

private:
    QStringList& m_events;
};

class IncomingCallTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetDefaultSettings(settings);
        // Kari Hansen has a personal sound, Ola Olsen has none.
        dir.write("PhoneBk.dat", "Hansen\r\nKari\r\n201\r\nOlsen\r\nOla\r\n202\r\n");
        dir.write("sound/201.wav", "RIFF");
    }

    // Rings once; returns the events of the call.
    QStringList ring(const std::string& from, const std::string& to,
                     OperatingMode mode = OperatingMode::Enabled)
    {
        const auto calling = from == "-" ? test::rawStruct({}) : test::callingStruct(from);
        const auto called = test::calledStruct(to);
        return ringStructs(calling, called, mode);
    }

    QStringList ringStructs(const std::vector<uint8_t>& calling, const std::vector<uint8_t>& called,
                            OperatingMode mode = OperatingMode::Enabled)
    {
        sound.played.clear();
        Recorder recorder(sound.played);
        lastResult = RecordIncomingCall(RecordingContext{settings, log, dir.path()}, calling.data(),
                                        called.data(), 208, clock.now());
        // Announced as the program does it: only in the mode that announces.
        if (lastResult.handled && mode == OperatingMode::Enabled) {
            CallAnnouncer announcer(
                AnnouncingParts{settings, sound, recorder, recorder, clock, dir.path(), &recorder});
            announcer.enqueue(lastResult, clock.steadyMs());
            EXPECT_TRUE(QTest::qWaitFor([&] {
                return announcer.waiting() == 0 && !announcer.busy() && !sound.isPlaying();
            }));
        }
        return sound.played;
    }

    QString soundPath(const QString& name) const { return dir.file("sound/" + name); }

    test::TempDataDir dir;
    Settings settings;
    CallLog log{dir.path()};
    test::FakeClock clock;
    test::FakeSoundOutput sound;
    RecordedCall lastResult;
};

const QString kBeep = QStringLiteral("beep 400 400");

} // namespace

TEST_F(IncomingCallTest, KnownCallerIsLoggedBeepedAndShown)
{
    const QStringList events = ring("202", "7654321");
    EXPECT_EQ(events, QStringList({kBeep, "popup 202|7654321|Ola Olsen|noadd"}));
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(log.at(0).callerName, "Ola Olsen");
    EXPECT_EQ(dir.read("CallID.dat"), "06-Des-2026\r\n02:39:46\r\n7654321\r\n202\r\n");
    EXPECT_TRUE(lastResult.handled);
    EXPECT_FALSE(lastResult.logSaveFailed);
}

TEST_F(IncomingCallTest, UnknownAndAnonymousCallers)
{
    EXPECT_EQ(ring("555", "1"), QStringList({kBeep, "popup 555|1|???|add"}));
    EXPECT_EQ(ring("-", "1"), QStringList({kBeep, "popup Ukjent nummer|1|???|noadd"}));
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log.at(1).callerNumber, "Ukjent nummer");
    EXPECT_EQ(log.at(1).callerName, "???");
}

TEST_F(IncomingCallTest, MsnFilter)
{
    settings.MSN_LOG = 0;
    EXPECT_TRUE(ring("202", "123").isEmpty());
    EXPECT_EQ(log.size(), 0);
    EXPECT_FALSE(dir.exists("CallID.dat")) << "a filtered call leaves no trace";

    settings.MSN_LOG = 3;
    settings.MSN_1 = "123";
    settings.MSN_2 = "456";
    settings.MSN_3 = "789";
    for (const char* msn : {"12", "45", "0123", "1234", "789"})
        EXPECT_TRUE(ring("202", msn).isEmpty()) << msn;
    EXPECT_FALSE(ring("202", "123").isEmpty());
    EXPECT_FALSE(ring("202", "456").isEmpty());
    settings.MSN_LOG = 4;
    EXPECT_FALSE(ring("202", "789").isEmpty());
    EXPECT_TRUE(ring("202", "123").isEmpty());
    EXPECT_EQ(log.size(), 3);

    // All three bits are "every call", whatever the MSNs hold; so is a call
    // with no called number at all.
    settings.MSN_LOG = 7;
    ringStructs(test::callingStruct("202"), test::rawStruct({}));
    ASSERT_EQ(log.size(), 4);
    EXPECT_EQ(log.at(3).msn, "Ukjent nummer");
}

TEST_F(IncomingCallTest, BeepSettings)
{
    struct Case
    {
        int beep;
        const char* from;
        bool beeps;
    };
    const Case cases[] = {
        {1, "-", true},    {1, "201", true},  {2, "-", false},    {2, "555", true},
        {3, "201", false}, {3, "202", true},  {3, "555", true},   {3, "-", true},
        {4, "555", false}, {9, "555", false}, {-1, "555", false},
    };
    for (const Case& c : cases) {
        settings.BEEP = c.beep;
        EXPECT_EQ(ring(c.from, "1").contains(kBeep), c.beeps) << c.beep << " " << c.from;
    }
}

TEST_F(IncomingCallTest, PopupSettings)
{
    auto popups = [](const QStringList& events) {
        return events.filter(QStringLiteral("popup")).size();
    };
    settings.MSG_SHOW = 2;
    EXPECT_EQ(popups(ring("-", "1")), 0);
    EXPECT_EQ(popups(ring("555", "1")), 1);
    settings.MSG_SHOW = 3;
    EXPECT_EQ(popups(ring("555", "1")), 0);
    settings.MSG_SHOW = 9;
    EXPECT_EQ(popups(ring("555", "1")), 0);
}

TEST_F(IncomingCallTest, CloseTimerIsArmedEvenWithoutPopup)
{
    settings.MSG_CLOSE = 2;
    settings.MSG_SHOW = 3;
    settings.MSG_CLOSE_TIMEOUT = 7;
    EXPECT_TRUE(ring("555", "1").contains("timer 7000"));
    // A timeout far beyond what a timer holds is passed on in full; the
    // main window caps it.
    settings.MSG_CLOSE_TIMEOUT = 4294967295u;
    EXPECT_TRUE(ring("555", "1").contains("timer 4294967295000"));
    settings.MSG_CLOSE = 3;
    EXPECT_TRUE(ring("555", "1").filter("timer").isEmpty());
}

TEST_F(IncomingCallTest, PersonalSoundIsFramedByIntroAndOutro)
{
    settings.PSOUND = 2;
    settings.PSOUND_BEFORE = 1;
    settings.PSOUND_AFTER = 1;
    settings.MSG_CLOSE = 2;
    const QStringList events = ring("201", "1");
    EXPECT_EQ(events, QStringList({kBeep, "popup 201|1|Kari Hansen|noadd", "timer 5000",
                                   "play " + soundPath("Intro.wav"), "play " + soundPath("201.wav"),
                                   "play " + soundPath("Outro.wav")}));

    // Without a personal sound there is no intro or outro either.
    EXPECT_TRUE(ring("202", "1").filter("play").isEmpty());
    EXPECT_TRUE(ring("555", "1").filter("play").isEmpty());

    // Intro only; then personal sounds off, which silences everything.
    settings.PSOUND_AFTER = 2;
    EXPECT_EQ(ring("201", "1").filter("play"),
              QStringList({"play " + soundPath("Intro.wav"), "play " + soundPath("201.wav")}));
    settings.PSOUND = 1;
    EXPECT_TRUE(ring("201", "1").filter("play").isEmpty());
}

TEST_F(IncomingCallTest, SoundFilesAreFoundWhateverTheirCase)
{
    dir.write("sound/INTRO.WAV", "RIFF");
    QFile::rename(dir.file("sound/201.wav"), dir.file("sound/201.WAV"));
    settings.PSOUND = 2;
    settings.PSOUND_BEFORE = 1;
    settings.BEEP = 3;
    EXPECT_EQ(ring("201", "1").filter("play"),
              QStringList({"play " + soundPath("INTRO.WAV"), "play " + soundPath("201.WAV")}));
}

TEST_F(IncomingCallTest, OutputDisabledLogsOnly)
{
    settings.MSG_CLOSE = 2;
    settings.PSOUND = 2;
    EXPECT_TRUE(ring("201", "1", OperatingMode::OutputDisabled).isEmpty());
    EXPECT_EQ(log.size(), 1);
    EXPECT_FALSE(dir.read("CallID.dat").empty());
    EXPECT_TRUE(lastResult.handled);
}

TEST_F(IncomingCallTest, UnwritableLogKeepsTheRowAndSaysSo)
{
    // A directory where the file should be: the save fails for real.
    QDir(dir.path()).mkpath("CallID.dat");
    EXPECT_FALSE(ring("202", "1").isEmpty()) << "the call is still announced";
    EXPECT_TRUE(lastResult.logSaveFailed);
    EXPECT_EQ(log.size(), 1);
}

TEST_F(IncomingCallTest, NumberThatCannotNameASoundFileIsStillLogged)
{
    // A hostile number from the line: no sound path, nothing touched.
    dir.write("PhoneBk.dat", "Evil\r\n\r\n../x\r\n");
    dir.write("x.wav", "RIFF");
    settings.PSOUND = 2;
    settings.BEEP = 3;
    const QStringList events = ring("../x", "1");
    EXPECT_TRUE(events.contains(kBeep)) << "no personal sound, so BEEP 3 beeps";
    EXPECT_TRUE(events.filter("play").isEmpty());
    EXPECT_EQ(log.at(0).callerName, " Evil");
}

TEST_F(IncomingCallTest, DesktopNotificationForEveryAnnouncedCallWhenAskedFor)
{
    EXPECT_TRUE(ring("555", "1").filter("notify").isEmpty()) << "off by default";
    settings.NOTIFY = 2;
    EXPECT_EQ(ring("555", "1"),
              QStringList({kBeep, "popup 555|1|???|add", "notify 555|1|???|add"}));
    EXPECT_EQ(ring("202", "1").filter("notify"), QStringList{"notify 202|1|Ola Olsen|noadd"});
    // Even without a popup: the notification is the popup of desktops that
    // cannot place one.
    settings.MSG_SHOW = 3;
    EXPECT_EQ(ring("-", "1").filter("notify"), QStringList{"notify Ukjent nummer|1|???|noadd"});
    EXPECT_TRUE(ring("555", "1", OperatingMode::OutputDisabled).isEmpty());
    settings.MSN_LOG = 0;
    EXPECT_TRUE(ring("555", "1").isEmpty());
}
