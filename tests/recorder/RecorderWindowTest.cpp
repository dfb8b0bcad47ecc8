#include "RecorderWindow.h"

#include "WavFile.h"
#include "support/QtPrinting.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QtEndian>
#include <SDL2/SDL.h>
#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr int kRate = SdlRecorder::kSampleRate;
constexpr int kWaitMs = 15000;

// Mono 16-bit little-endian samples of a tone that starts loud, so that the
// first sample of it can be found again after silence.
QByteArray tone(int frequencyHz, int durationMs)
{
    const int frames = kRate * durationMs / 1000;
    QByteArray out(frames * 2, Qt::Uninitialized);
    for (int i = 0; i < frames; ++i) {
        const double v = 12000.0 * std::cos(2.0 * M_PI * frequencyHz * i / kRate);
        qToLittleEndian(qint16(std::lround(v)), out.data() + 2 * i);
    }
    return out;
}

qsizetype firstSound(const QByteArray& samples)
{
    for (qsizetype i = 0; i + 1 < samples.size(); i += 2) {
        if (qFromLittleEndian<qint16>(samples.constData() + i) != 0)
            return i;
    }
    return -1;
}

bool allSilent(const QByteArray& samples)
{
    return firstSound(samples) < 0;
}

// Every test records through SDL's disk driver: the "microphone" reads the
// file named by SDL_DISKAUDIOFILEIN (silence after its end), and what is
// played goes to the file named by SDL_DISKAUDIOFILE. ctest runs each test
// in a process of its own; SDL reads the variables when audio starts.
class RecorderWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        input = tone(1000, 250);
        dir.write("in.raw", input.toStdString());
        QDir(dir.path()).mkdir("sound");
        target = dir.file("sound/301.wav");
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILEIN", QFile::encodeName(dir.file("in.raw")));
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(dir.file("out.raw")));
    }

    // Records until the whole input and a little silence have come in.
    void recordAll(RecorderWindow& w)
    {
        w.button("record")->click();
        ASSERT_TRUE(w.audio().isRecording()) << w.statusText().toStdString();
        EXPECT_TRUE(w.statusText().startsWith("Tar opp"));
        EXPECT_TRUE(w.button("stop")->isEnabled());
        EXPECT_FALSE(w.button("save")->isEnabled());
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return w.audio().samples().size() >= input.size() + 4096; }, kWaitMs));
        w.button("stop")->click();
        EXPECT_FALSE(w.audio().isRecording());
    }

    QStringList filesInDir() const
    {
        QStringList files;
        for (const QString& f : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
            files << f;
        for (const QString& f : QDir(dir.file("sound")).entryList(QDir::Files | QDir::Hidden))
            files << "sound/" + f;
        return files;
    }

    test::TempDataDir dir;
    QByteArray input;
    QString target;
};

} // namespace

TEST_F(RecorderWindowTest, RecordsTheMicrophoneIntoAValidWavWhenSaved)
{
    RecorderWindow w(target);
    EXPECT_TRUE(w.button("record")->isEnabled());
    EXPECT_FALSE(w.button("stop")->isEnabled());
    EXPECT_FALSE(w.button("play")->isEnabled());
    EXPECT_FALSE(w.button("save")->isEnabled());

    recordAll(w);
    EXPECT_TRUE(w.button("save")->isEnabled());
    EXPECT_TRUE(w.hasUnsavedRecording());
    EXPECT_FALSE(QFile::exists(target)) << "nothing is written before Lagre";

    w.button("save")->click();
    EXPECT_FALSE(w.hasUnsavedRecording());
    EXPECT_FALSE(w.button("save")->isEnabled());
    const QByteArray file = QByteArray::fromStdString(dir.read("sound/301.wav"));
    ASSERT_GT(file.size(), 44);

    // A canonical PCM header: 16 bit, one channel, the recorder's rate.
    EXPECT_EQ(file.left(4), "RIFF");
    EXPECT_EQ(qFromLittleEndian<quint32>(file.constData() + 4), quint32(file.size() - 8));
    EXPECT_EQ(file.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(qFromLittleEndian<quint32>(file.constData() + 16), 16u);
    EXPECT_EQ(qFromLittleEndian<quint16>(file.constData() + 20), 1u); // PCM
    EXPECT_EQ(qFromLittleEndian<quint16>(file.constData() + 22), 1u); // mono
    EXPECT_EQ(qFromLittleEndian<quint32>(file.constData() + 24), quint32(kRate));
    EXPECT_EQ(qFromLittleEndian<quint32>(file.constData() + 28), quint32(kRate * 2));
    EXPECT_EQ(qFromLittleEndian<quint16>(file.constData() + 32), 2u);
    EXPECT_EQ(qFromLittleEndian<quint16>(file.constData() + 34), 16u);
    EXPECT_EQ(file.mid(36, 4), "data");
    const QByteArray data = file.mid(44);
    EXPECT_EQ(qFromLittleEndian<quint32>(file.constData() + 40), quint32(data.size()));

    // The captured samples exactly: the input, then the silence after it.
    ASSERT_GE(data.size(), input.size());
    EXPECT_TRUE(data.left(input.size()) == input);
    EXPECT_TRUE(allSilent(data.mid(input.size())));

    // SDL itself reads it back as the same sound.
    SDL_AudioSpec format{};
    Uint8* wav = nullptr;
    Uint32 length = 0;
    ASSERT_NE(SDL_LoadWAV(QFile::encodeName(target).constData(), &format, &wav, &length), nullptr)
        << SDL_GetError();
    EXPECT_EQ(format.freq, kRate);
    EXPECT_EQ(format.channels, 1);
    EXPECT_EQ(format.format, AUDIO_S16LSB);
    EXPECT_EQ(length, quint32(data.size()));
    SDL_FreeWAV(wav);

    EXPECT_EQ(filesInDir(), QStringList({"in.raw", "sound/301.wav"}))
        << "the recorder writes the one file and nothing else";
}

TEST_F(RecorderWindowTest, PlaysTheRecordingBack)
{
    RecorderWindow w(target);
    recordAll(w);
    ASSERT_TRUE(w.button("play")->isEnabled());
    w.button("play")->click();
    EXPECT_TRUE(w.audio().isPlaying());
    EXPECT_FALSE(w.button("record")->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.audio().isPlaying(); }, kWaitMs));
    EXPECT_TRUE(w.button("play")->isEnabled());

    const QByteArray played = QByteArray::fromStdString(dir.read("out.raw"));
    const qsizetype start = firstSound(played);
    ASSERT_GE(start, 0) << "something was played";
    EXPECT_TRUE(played.mid(start, input.size()) == input);
    EXPECT_FALSE(QFile::exists(target)) << "playing saves nothing";
}

TEST_F(RecorderWindowTest, NothingIsWrittenWhenTheUserDoesNotSave)
{
    QStringList asked;
    {
        RecorderWindow w(target);
        int answers = 0;
        w.setCloseQuestion([&] {
            asked << w.statusText();
            return answers++ == 0 ? RecorderWindow::CloseAnswer::Cancel
                                  : RecorderWindow::CloseAnswer::Discard;
        });
        w.show();
        // Closing while it still records: the recording stops and the user
        // is asked; Cancel keeps the window, Discard closes it unsaved.
        w.button("record")->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !w.audio().samples().isEmpty(); }, kWaitMs));
        EXPECT_FALSE(w.close());
        EXPECT_TRUE(w.isVisible());
        EXPECT_FALSE(w.audio().isRecording());
        EXPECT_TRUE(w.close());
        EXPECT_EQ(asked.size(), 2);
    }
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_EQ(filesInDir(), QStringList({"in.raw"}));
}

TEST_F(RecorderWindowTest, SavingFromTheCloseQuestion)
{
    RecorderWindow w(target);
    w.setCloseQuestion([] { return RecorderWindow::CloseAnswer::Save; });
    w.show();
    recordAll(w);
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(QFile::exists(target));
}

TEST_F(RecorderWindowTest, AFailedSaveSaysSoAndKeepsTheRecording)
{
    RecorderWindow w(dir.file("missing/301.wav"));
    bool asked = false;
    w.setCloseQuestion([&] {
        asked = true;
        return RecorderWindow::CloseAnswer::Save;
    });
    w.show();
    recordAll(w);
    w.button("save")->click();
    EXPECT_TRUE(w.statusText().startsWith("Kunne ikke lagre")) << w.statusText().toStdString();
    EXPECT_TRUE(w.hasUnsavedRecording());
    EXPECT_TRUE(w.button("save")->isEnabled());
    EXPECT_FALSE(w.close()) << "a close that cannot save stays open";
    EXPECT_TRUE(asked);
    EXPECT_FALSE(QDir(dir.file("missing")).exists());
}

TEST_F(RecorderWindowTest, WithoutAMicrophoneItSaysSoInItsWindow)
{
    qputenv("SDL_DISKAUDIOFILEIN", QFile::encodeName(dir.file("no-such-input.raw")));
    RecorderWindow w(target);
    w.button("record")->click();
    EXPECT_FALSE(w.audio().isRecording());
    EXPECT_TRUE(w.statusText().contains("mikrofon")) << w.statusText().toStdString();
    EXPECT_TRUE(w.button("record")->isEnabled());
    EXPECT_FALSE(w.button("save")->isEnabled());
    EXPECT_FALSE(w.button("play")->isEnabled());
    EXPECT_TRUE(w.close()) << "nothing to save, nothing to ask";
    EXPECT_FALSE(QFile::exists(target));
}

TEST(WavFileTest, HeaderOfAnEmptyAndAnOddRecording)
{
    const QByteArray empty = wavfile::fileBytes({}, 8000);
    ASSERT_EQ(empty.size(), 44);
    EXPECT_EQ(qFromLittleEndian<quint32>(empty.constData() + 4), 36u);
    EXPECT_EQ(qFromLittleEndian<quint32>(empty.constData() + 40), 0u);
    // A stray byte is no sample: it is left out.
    const QByteArray odd = wavfile::fileBytes(QByteArray("\x01\x02\x03", 3), 8000);
    EXPECT_EQ(odd.size(), 46);
    EXPECT_EQ(qFromLittleEndian<quint32>(odd.constData() + 40), 2u);
}
