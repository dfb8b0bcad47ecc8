#pragma once

#include <QString>
#include <functional>
#include <vector>

// One sound of a sequence: a tone, or a WAV file.
struct Sound
{
    enum class Kind
    {
        Tone,
        File,
    };
    Kind kind = Kind::Tone;
    int frequencyHz = 0;
    int durationMs = 0;
    QString path;

    static Sound tone(int frequencyHz, int durationMs)
    {
        return Sound{Kind::Tone, frequencyHz, durationMs, {}};
    }
    static Sound file(const QString& path) { return Sound{Kind::File, 0, 0, path}; }
};

// What the program plays: tones (the 400 Hz beep) and WAV files.
//
// A call's announcement plays without waiting (start): its sounds follow one
// another while the program goes on recording calls and taking commands,
// and it is told when they have ended. The windows' "play" buttons wait
// (beep, playFile): they return only when the sound has ended, and while
// it plays the wait hook is called every few milliseconds (the program keeps
// its windows painted from there).
//
// One sound at a time: what is started while another plays waits for it; a
// sound asked to be waited for while another plays is dropped.
class SoundOutput
{
public:
    virtual ~SoundOutput() = default;

    // A tone of the given frequency and length; returns when it has ended.
    virtual void beep(int frequencyHz, int durationMs) = 0;
    // A WAV file; returns when it has ended. A missing or unreadable file
    // plays a short default sound instead, as the platform's sound player
    // always did.
    virtual void playFile(const QString& path) = 0;

    // Plays the sounds one after the other and returns at once; `done` runs
    // from the event loop when the last has ended, or when stop() cut them
    // short.
    virtual void start(std::vector<Sound> sounds, std::function<void()> done) = 0;
    // Silences what plays at once and drops what waits; the `done` of each
    // runs.
    virtual void stop() = 0;

    // True while a sound plays or waits to.
    virtual bool isPlaying() const = 0;

    void setWaitHook(std::function<void()> hook) { m_waitHook = std::move(hook); }

protected:
    void waitHook() const
    {
        if (m_waitHook)
            m_waitHook();
    }

private:
    std::function<void()> m_waitHook;
};
