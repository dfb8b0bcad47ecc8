#include "sound/SdlSoundOutput.h"

#include "platform/SafeFile.h"
#include "sound/ToneSynth.h"

#include <QElapsedTimer>
#include <QTimer>
#include <SDL2/SDL.h>
#include <climits>
#include <deque>

namespace {

// How long the device stays open after the last sound.
constexpr int kIdleCloseMs = 5000;
// How often a sequence that plays without being waited for is looked at.
constexpr int kProgressCheckMs = 5;
// A device that stops consuming (unplugged, suspended) must not hold the
// sounds for ever: they are given up this long after they should have
// ended.
constexpr qint64 kStuckDeviceMs = 2000;

// Marks the output busy for the length of one sound.
class PlayingFlag
{
public:
    explicit PlayingFlag(bool& flag) : m_flag(flag) { m_flag = true; }
    ~PlayingFlag() { m_flag = false; }

private:
    bool& m_flag;
};

} // namespace

struct SdlSoundOutput::Private
{
    // Sounds started without being waited for, in the order they came.
    struct Sequence
    {
        std::vector<Sound> sounds;
        std::function<void()> done;
    };

    bool sdlReady = false;
    SDL_AudioDeviceID device = 0;
    SDL_AudioSpec format{};
    QTimer idleClose;
    std::deque<Sequence> waiting;
    // The sequence at the front of `waiting` is on the device.
    bool sequencePlaying = false;
    QTimer progress;
    QElapsedTimer sequenceClock;
    qint64 sequenceDeadline = 0;
    // Once the queue is empty: when the device's own buffer has gone out.
    qint64 drainUntil = -1;
    // stop() was called while a sound was waited for.
    bool stopWaited = false;
};

SdlSoundOutput::SdlSoundOutput() : d(std::make_unique<Private>())
{
    // The program's signals are its own (it ends the normal way on them);
    // SDL would otherwise take SIGTERM and SIGINT for events nobody reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    d->sdlReady = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    d->idleClose.setSingleShot(true);
    d->idleClose.setInterval(kIdleCloseMs);
    QObject::connect(&d->idleClose, &QTimer::timeout, [this] { closeDevice(); });
    d->progress.setInterval(kProgressCheckMs);
    QObject::connect(&d->progress, &QTimer::timeout, [this] { checkProgress(); });
}

SdlSoundOutput::~SdlSoundOutput()
{
    d->progress.stop();
    closeDevice();
    if (d->sdlReady)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlSoundOutput::openDevice()
{
    if (d->device != 0)
        return true;
    if (!d->sdlReady)
        return false;
    SDL_AudioSpec want{};
    want.freq = kSampleRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 1024;
    // No changes allowed: SDL converts to whatever the hardware takes, so
    // everything queued here stays mono 16-bit at kSampleRate.
    d->device = SDL_OpenAudioDevice(nullptr, 0, &want, &d->format, 0);
    if (d->device == 0)
        return false;
    SDL_PauseAudioDevice(d->device, 0);
    return true;
}

void SdlSoundOutput::closeDevice()
{
    d->idleClose.stop();
    if (d->device != 0) {
        SDL_CloseAudioDevice(d->device);
        d->device = 0;
    }
}

void SdlSoundOutput::beep(int frequencyHz, int durationMs)
{
    playSamples(samplesOf(Sound::tone(frequencyHz, durationMs)));
}

void SdlSoundOutput::playFile(const QString& path)
{
    playSamples(samplesOf(Sound::file(path)));
}

bool SdlSoundOutput::isPlaying() const
{
    return m_playing || !d->waiting.empty();
}

QByteArray SdlSoundOutput::samplesOf(const Sound& sound) const
{
    if (sound.kind == Sound::Kind::Tone)
        return tonesynth::sine(sound.frequencyHz, sound.durationMs, kSampleRate);
    QByteArray samples = loadWav(sound.path);
    if (samples.isEmpty())
        samples = tonesynth::defaultSound(kSampleRate);
    return samples;
}

void SdlSoundOutput::start(std::vector<Sound> sounds, std::function<void()> done)
{
    d->waiting.push_back(Private::Sequence{std::move(sounds), std::move(done)});
    playNext();
}

void SdlSoundOutput::playNext()
{
    // A sound being waited for plays to its end first; its end comes back
    // here.
    if (d->sequencePlaying || m_playing || d->waiting.empty())
        return;
    QByteArray samples;
    for (const Sound& sound : d->waiting.front().sounds)
        samples.append(samplesOf(sound));
    d->idleClose.stop();
    if (samples.isEmpty() || !openDevice() ||
        SDL_QueueAudio(d->device, samples.constData(), Uint32(samples.size())) != 0) {
        // Nothing to hear: over at once, but told from the event loop.
        d->sequencePlaying = true;
        QTimer::singleShot(0, &d->progress, [this] {
            if (d->sequencePlaying)
                finishSequence();
        });
        return;
    }
    d->sequencePlaying = true;
    const qint64 soundMs = qint64(samples.size()) / 2 * 1000 / kSampleRate;
    const qint64 bufferMs = qint64(d->format.samples) * 1000 / kSampleRate + 20;
    d->sequenceClock.start();
    d->sequenceDeadline = soundMs + bufferMs + kStuckDeviceMs;
    d->drainUntil = -1;
    d->progress.start();
}

void SdlSoundOutput::checkProgress()
{
    if (!d->sequencePlaying || d->device == 0) {
        d->progress.stop();
        return;
    }
    const qint64 elapsed = d->sequenceClock.elapsed();
    if (d->drainUntil < 0) {
        if (SDL_GetQueuedAudioSize(d->device) > 0 && elapsed < d->sequenceDeadline)
            return;
        // The queue is empty; the device's own buffer goes out next.
        d->drainUntil = elapsed + qint64(d->format.samples) * 1000 / kSampleRate + 20;
        return;
    }
    if (elapsed >= d->drainUntil)
        finishSequence();
}

void SdlSoundOutput::finishSequence()
{
    d->progress.stop();
    d->sequencePlaying = false;
    if (d->device != 0 && SDL_GetQueuedAudioSize(d->device) > 0)
        SDL_ClearQueuedAudio(d->device);
    std::function<void()> done;
    if (!d->waiting.empty()) {
        done = std::move(d->waiting.front().done);
        d->waiting.pop_front();
    }
    if (d->waiting.empty())
        d->idleClose.start();
    else
        playNext();
    if (done)
        done();
}

void SdlSoundOutput::stop()
{
    d->stopWaited = true;
    d->progress.stop();
    if (d->device != 0)
        SDL_ClearQueuedAudio(d->device);
    std::deque<Private::Sequence> dropped;
    dropped.swap(d->waiting);
    d->sequencePlaying = false;
    d->idleClose.start();
    // Told from the event loop, as when they end by themselves.
    for (Private::Sequence& sequence : dropped) {
        if (sequence.done)
            QTimer::singleShot(0, &d->progress, std::move(sequence.done));
    }
}

QByteArray SdlSoundOutput::loadWav(const QString& path) const
{
    if (!d->sdlReady || path.isEmpty())
        return {};
    // Read by us, not by SDL: a sound file that is a FIFO or a device would
    // block SDL's open or never end; only a regular file is played.
    std::string file;
    if (readWholeFile(path, &file) != FileReadState::Read || file.size() > size_t(INT_MAX))
        return {};
    SDL_AudioSpec wavSpec{};
    Uint8* wavData = nullptr;
    Uint32 wavLength = 0;
    SDL_RWops* source = SDL_RWFromConstMem(file.data(), int(file.size()));
    if (source == nullptr || !SDL_LoadWAV_RW(source, 1, &wavSpec, &wavData, &wavLength))
        return {};

    QByteArray out;
    SDL_AudioStream* stream = SDL_NewAudioStream(wavSpec.format, wavSpec.channels, wavSpec.freq,
                                                 AUDIO_S16SYS, 1, kSampleRate);
    if (stream) {
        // SDL's resampler keeps back the last few milliseconds even after a
        // flush: feed it a stretch of silence after the sound and cut the
        // result to the sound's own length.
        const int frameBytes = int(SDL_AUDIO_BITSIZE(wavSpec.format) / 8) * wavSpec.channels;
        const int frames = frameBytes > 0 ? int(wavLength) / frameBytes : 0;
        const QByteArray padding(frameBytes * (wavSpec.freq / 10),
                                 wavSpec.format == AUDIO_U8 ? char(0x80) : char(0));
        if (SDL_AudioStreamPut(stream, wavData, int(wavLength)) == 0 &&
            SDL_AudioStreamPut(stream, padding.constData(), int(padding.size())) == 0 &&
            SDL_AudioStreamFlush(stream) == 0) {
            // The stream hands out what it has converted in pieces; take
            // them all, or the end of the sound would be cut off.
            char chunk[8192];
            int got = 0;
            while ((got = SDL_AudioStreamGet(stream, chunk, int(sizeof chunk))) > 0)
                out.append(chunk, got);
            const qint64 wanted =
                wavSpec.freq > 0 ? qint64(frames) * kSampleRate / wavSpec.freq : 0;
            if (out.size() > wanted * 2)
                out.truncate(int(wanted * 2));
        }
        SDL_FreeAudioStream(stream);
    }
    SDL_FreeWAV(wavData);
    return out;
}

void SdlSoundOutput::playSamples(const QByteArray& samples)
{
    // A sound asked for while another plays (from inside the wait hook, or
    // while a call is announced) is dropped rather than nested: one sound at
    // a time, in order.
    if (isPlaying() || samples.isEmpty() || !openDevice())
        return;
    PlayingFlag playing(m_playing);
    d->idleClose.stop();

    if (SDL_QueueAudio(d->device, samples.constData(), Uint32(samples.size())) != 0)
        return;

    // The samples have been played when the queue is empty and the device's
    // own buffer has gone out too.
    const qint64 soundMs = qint64(samples.size()) / 2 * 1000 / kSampleRate;
    const qint64 bufferMs = qint64(d->format.samples) * 1000 / kSampleRate + 20;
    QElapsedTimer clock;
    clock.start();
    // A device that stops consuming (unplugged, suspended) must not hold the
    // program for ever: give up well after the sound should have ended.
    const qint64 deadline = soundMs + bufferMs + kStuckDeviceMs;
    d->stopWaited = false;
    while (SDL_GetQueuedAudioSize(d->device) > 0 && clock.elapsed() < deadline && !d->stopWaited) {
        waitHook();
        SDL_Delay(5);
    }
    const qint64 drainUntil = clock.elapsed() + bufferMs;
    while (clock.elapsed() < drainUntil && !d->stopWaited) {
        waitHook();
        SDL_Delay(5);
    }
    if (SDL_GetQueuedAudioSize(d->device) > 0)
        SDL_ClearQueuedAudio(d->device);
    d->idleClose.start();
    // What was started meanwhile plays now.
    if (!d->waiting.empty())
        QTimer::singleShot(0, &d->progress, [this] { playNext(); });
}
