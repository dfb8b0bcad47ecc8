#include "SdlRecorder.h"

#include <SDL2/SDL.h>
#include <algorithm>

namespace {

constexpr Uint16 kBufferFrames = 1024;
// The output's own buffer still sounds when SDL's queue is empty; it is
// given this long before the output is closed.
constexpr Uint64 kDrainMs = 200;
constexpr Uint64 kStallMs = 2000;

QString sdlError()
{
    return QString::fromUtf8(SDL_GetError());
}

} // namespace

SdlRecorder::SdlRecorder()
{
    // SDL would otherwise take SIGTERM and SIGINT for an event nobody reads
    // here, and the recorder would outlive a logout or a kill.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    m_sdlReady = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (!m_sdlReady)
        m_error = sdlError();
}

SdlRecorder::~SdlRecorder()
{
    stopRecording();
    stopPlayback();
    if (m_sdlReady)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

SDL_AudioSpec SdlRecorder::wantedSpec() const
{
    SDL_AudioSpec want{};
    want.freq = kSampleRate;
    want.format = AUDIO_S16LSB;
    want.channels = 1;
    want.samples = kBufferFrames;
    return want;
}

bool SdlRecorder::startRecording()
{
    stopPlayback();
    stopRecording();
    if (!m_sdlReady)
        return false;
    const SDL_AudioSpec want = wantedSpec();
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts whatever the microphone gives to the
    // format of the file.
    const SDL_AudioDeviceID capture = SDL_OpenAudioDevice(nullptr, 1, &want, &have, 0);
    if (capture == 0) {
        // The recording in memory stays: a failed start loses nothing.
        m_error = sdlError();
        return false;
    }
    m_capture = capture;
    m_samples.clear();
    SDL_PauseAudioDevice(m_capture, 0);
    return true;
}

bool SdlRecorder::collect()
{
    if (m_capture == 0)
        return true;
    const qsizetype limit = qsizetype(kMaxSeconds) * kSampleRate * kBytesPerSample;
    char chunk[8192];
    Uint32 got = 0;
    while ((got = SDL_DequeueAudio(m_capture, chunk, sizeof chunk)) > 0) {
        const qsizetype room = limit - m_samples.size();
        m_samples.append(chunk, std::min<qsizetype>(got, room));
        if (m_samples.size() >= limit) {
            SDL_CloseAudioDevice(m_capture);
            m_capture = 0;
            return false;
        }
    }
    return true;
}

void SdlRecorder::stopRecording()
{
    if (m_capture == 0)
        return;
    SDL_PauseAudioDevice(m_capture, 1);
    collect();
    if (m_capture != 0) {
        SDL_CloseAudioDevice(m_capture);
        m_capture = 0;
    }
}

bool SdlRecorder::startPlayback()
{
    stopPlayback();
    if (!m_sdlReady || m_samples.isEmpty())
        return false;
    const SDL_AudioSpec want = wantedSpec();
    SDL_AudioSpec have{};
    m_playback = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (m_playback == 0) {
        m_error = sdlError();
        return false;
    }
    if (SDL_QueueAudio(m_playback, m_samples.constData(), Uint32(m_samples.size())) != 0) {
        m_error = sdlError();
        stopPlayback();
        return false;
    }
    m_playbackEnds = SDL_GetTicks64() + Uint64(seconds() * 1000) + kDrainMs;
    SDL_PauseAudioDevice(m_playback, 0);
    return true;
}

bool SdlRecorder::updatePlayback()
{
    if (m_playback == 0)
        return false;
    // An output that stops taking samples (unplugged, suspended) must not
    // keep the window playing for ever.
    const Uint64 now = SDL_GetTicks64();
    if (now >= m_playbackEnds &&
        (SDL_GetQueuedAudioSize(m_playback) == 0 || now >= m_playbackEnds + kStallMs)) {
        stopPlayback();
        return false;
    }
    return true;
}

void SdlRecorder::stopPlayback()
{
    if (m_playback == 0)
        return;
    SDL_CloseAudioDevice(m_playback);
    m_playback = 0;
}

double SdlRecorder::seconds() const
{
    return double(m_samples.size()) / (kSampleRate * kBytesPerSample);
}
