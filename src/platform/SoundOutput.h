#pragma once

#include <QString>
#include <functional>

// What the program plays: the 400 Hz beep and WAV files. Both return only
// when the sound has ended, so that beep, intro, personal sound and outro
// follow one another. While a sound plays, the wait hook is called every few
// milliseconds (the program keeps its windows painted from there), and
// isPlaying() is true so that the timers that must wait for the end of the
// sound (the line poll and the popup's close delay) can hold back.
class SoundOutput
{
public:
    virtual ~SoundOutput() = default;

    // A tone of the given frequency and length.
    virtual void beep(int frequencyHz, int durationMs) = 0;
    // A WAV file. A missing or unreadable file plays a short default sound
    // instead, as the platform's sound player always did.
    virtual void playFile(const QString& path) = 0;

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
