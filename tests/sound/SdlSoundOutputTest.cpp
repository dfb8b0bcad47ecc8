#include "sound/SdlSoundOutput.h"

#include "SoundAnalysis.h"
#include "support/FileUtil.h"
#include "support/TempDataDir.h"

#include <QElapsedTimer>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// Every test plays through SDL's disk driver into its own file and reads
// back what was really produced. ctest runs each test in its own process,
// so the driver is chosen before SDL starts.
class SdlSoundOutputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        raw = dir.file("out.raw");
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(raw));
    }

    std::vector<test::Burst> played()
    {
        return test::findBursts(test::readSamples(raw), SdlSoundOutput::kSampleRate);
    }

    test::TempDataDir dir;
    QString raw;
};

} // namespace

TEST_F(SdlSoundOutputTest, BeepIsA400HzToneOf400Ms)
{
    {
        SdlSoundOutput sound;
        QElapsedTimer clock;
        clock.start();
        sound.beep(400, 400);
        EXPECT_GE(clock.elapsed(), 380) << "the beep returns when it has ended";
    }
    const auto bursts = played();
    ASSERT_EQ(bursts.size(), 1u);
    EXPECT_NEAR(bursts[0].frequencyHz, 400, 10);
    EXPECT_NEAR(bursts[0].durationMs, 400, 15);
}

TEST_F(SdlSoundOutputTest, WavFilesAreConvertedAndPlayedInOrder)
{
    // An 8-bit stereo file at 22050 Hz and a 16-bit mono one at 48000 Hz:
    // both come out at the device's rate with their own pitch and length.
    test::writeFile(dir.file("a.wav"), test::sineWav(1000, 200, 22050, 2, 8).toStdString());
    test::writeFile(dir.file("b.wav"), test::sineWav(600, 300, 48000, 1, 16).toStdString());
    {
        SdlSoundOutput sound;
        sound.beep(400, 100);
        sound.playFile(dir.file("a.wav"));
        sound.playFile(dir.file("b.wav"));
    }
    const auto bursts = played();
    ASSERT_EQ(bursts.size(), 3u);
    EXPECT_NEAR(bursts[0].frequencyHz, 400, 15);
    EXPECT_NEAR(bursts[1].frequencyHz, 1000, 25);
    EXPECT_NEAR(bursts[1].durationMs, 200, 15);
    EXPECT_NEAR(bursts[2].frequencyHz, 600, 15);
    EXPECT_NEAR(bursts[2].durationMs, 300, 15);
    EXPECT_LT(bursts[0].startMs, bursts[1].startMs);
    EXPECT_LT(bursts[1].startMs, bursts[2].startMs);
}

TEST_F(SdlSoundOutputTest, MissingOrBrokenFilePlaysTheDefaultSound)
{
    test::writeFile(dir.file("broken.wav"), "RIFF this is not a wave file");
    {
        SdlSoundOutput sound;
        sound.playFile(dir.file("missing.wav"));
        sound.playFile(dir.file("broken.wav"));
    }
    const auto bursts = played();
    // Each default sound is two notes, 880 Hz then 660 Hz, back to back.
    ASSERT_EQ(bursts.size(), 2u);
    for (const auto& b : bursts)
        EXPECT_NEAR(b.durationMs, 300, 20);
}

TEST_F(SdlSoundOutputTest, WaitHookRunsWhileTheSoundPlays)
{
    SdlSoundOutput sound;
    int calls = 0;
    bool playingInHook = true;
    sound.setWaitHook([&] {
        ++calls;
        playingInHook = playingInHook && sound.isPlaying();
        // A sound asked for from inside the hook is not nested.
        sound.beep(1000, 1000);
    });
    sound.beep(400, 200);
    EXPECT_GT(calls, 5);
    EXPECT_TRUE(playingInHook);
    EXPECT_FALSE(sound.isPlaying());
}

TEST(SdlSoundOutputNoDevice, GoesOnSilently)
{
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    SdlSoundOutput sound;
    sound.beep(400, 400);
    sound.playFile(QStringLiteral("/nonexistent.wav"));
    EXPECT_FALSE(sound.isPlaying());
}
