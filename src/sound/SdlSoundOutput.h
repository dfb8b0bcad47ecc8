#pragma once

#include "platform/SoundOutput.h"

#include <QByteArray>
#include <cstdint>
#include <memory>

// Sound through SDL2: PulseAudio, PipeWire or ALSA, whatever SDL finds; its
// `disk` driver writes what is played to a file, which the tests read. If
// no audio device can be opened the program goes on silently.
//
// The device stays open from one sound to the next (a call plays beep,
// intro, personal sound and outro back to back) and is closed when it has
// been idle for a few seconds, so the desktop shows no stream that plays
// nothing.
class SdlSoundOutput : public SoundOutput
{
public:
    static constexpr int kSampleRate = 44100;

    SdlSoundOutput();
    ~SdlSoundOutput() override;

    void beep(int frequencyHz, int durationMs) override;
    void playFile(const QString& path) override;
    void start(std::vector<Sound> sounds, std::function<void()> done) override;
    void stop() override;
    bool isPlaying() const override;

    // Closes the device now (normally done after the idle time).
    void closeDevice();

private:
    bool openDevice();
    // Queues mono 16-bit samples at kSampleRate and waits until they have
    // been played out.
    void playSamples(const QByteArray& samples);
    // The samples of a sound: a missing or unreadable file is the default
    // sound.
    QByteArray samplesOf(const Sound& sound) const;
    // Reads a WAV file and converts it to the device format; empty when the
    // file cannot be read or decoded.
    QByteArray loadWav(const QString& path) const;
    // Starts the next sequence that was started and waits, unless one plays.
    void playNext();
    // Looks whether the sequence playing has been played out.
    void checkProgress();
    void finishSequence();

    struct Private;
    std::unique_ptr<Private> d;
    // A sound that is waited for plays.
    bool m_playing = false;
};
