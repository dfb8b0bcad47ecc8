#pragma once

#include <QByteArray>
#include <QString>
#include <SDL2/SDL_audio.h>

// Records from the default microphone and plays the recording back, through
// SDL2 (PulseAudio, PipeWire or ALSA; its `disk` driver reads a file instead
// of a microphone, which the tests use). The recording is kept in memory as
// little-endian signed 16-bit mono samples at kSampleRate; nothing is
// written anywhere by this class.
class SdlRecorder
{
public:
    static constexpr int kSampleRate = 44100;
    static constexpr int kBytesPerSample = 2;
    // A recording stops by itself at this length, so that one forgotten
    // running cannot fill the memory.
    static constexpr int kMaxSeconds = 600;

    SdlRecorder();
    ~SdlRecorder();
    SdlRecorder(const SdlRecorder&) = delete;
    SdlRecorder& operator=(const SdlRecorder&) = delete;

    // Starts a new recording, dropping the one in memory. False, with the
    // reason in error() and the recording in memory kept, when no
    // microphone can be opened.
    bool startRecording();
    // Takes what the microphone has captured since the last call into the
    // recording. False when the recording has reached its longest length
    // (it is then stopped).
    bool collect();
    void stopRecording();
    bool isRecording() const { return m_capture != 0; }

    // Plays the recording without waiting for it. False, with the reason in
    // error(), when no output can be opened.
    bool startPlayback();
    // True while the recording is still being played; closes the output
    // once it has been played out.
    bool updatePlayback();
    void stopPlayback();
    bool isPlaying() const { return m_playback != 0; }

    const QByteArray& samples() const { return m_samples; }
    double seconds() const;
    QString error() const { return m_error; }

private:
    SDL_AudioSpec wantedSpec() const;

    bool m_sdlReady = false;
    SDL_AudioDeviceID m_capture = 0;
    SDL_AudioDeviceID m_playback = 0;
    // When a playback has surely been heard to its end (SDL ticks).
    Uint64 m_playbackEnds = 0;
    QByteArray m_samples;
    QString m_error;
};
