#pragma once

#include "platform/SoundOutput.h"

#include <QString>
#include <QStringList>

namespace test {

// Records what would have been played, in order: "beep 400 400" and
// "play <path>". Calls the wait hook once per sound, as a real output does.
class FakeSoundOutput : public SoundOutput
{
public:
    void beep(int frequencyHz, int durationMs) override
    {
        played << QStringLiteral("beep %1 %2").arg(frequencyHz).arg(durationMs);
        pretendToPlay();
    }
    void playFile(const QString& path) override
    {
        played << QStringLiteral("play ") + path;
        pretendToPlay();
    }
    bool isPlaying() const override { return m_playing; }

    QStringList played;

private:
    void pretendToPlay()
    {
        m_playing = true;
        waitHook();
        m_playing = false;
    }
    bool m_playing = false;
};

} // namespace test
