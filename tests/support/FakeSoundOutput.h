#pragma once

#include "platform/SoundOutput.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>

namespace test {

// Records what would have been played, in order: "beep 400 400" and
// "play <path>". A sound that is waited for calls the wait hook once, as a
// real output does. Sounds that are started end from the event loop, or,
// while `hold` is set, when the test calls finish().
class FakeSoundOutput : public SoundOutput
{
public:
    void beep(int frequencyHz, int durationMs) override
    {
        played << toneText(frequencyHz, durationMs);
        pretendToPlay();
    }
    void playFile(const QString& path) override
    {
        played << QStringLiteral("play ") + path;
        pretendToPlay();
    }
    void start(std::vector<Sound> sounds, std::function<void()> done) override
    {
        for (const Sound& sound : sounds) {
            played << (sound.kind == Sound::Kind::Tone
                           ? toneText(sound.frequencyHz, sound.durationMs)
                           : QStringLiteral("play ") + sound.path);
        }
        m_started.push_back(std::move(done));
        if (!hold)
            QTimer::singleShot(0, &m_context, [this] { finish(); });
    }
    void stop() override
    {
        ++stops;
        while (!m_started.empty())
            finish();
    }
    bool isPlaying() const override { return m_playing || !m_started.empty(); }

    // Ends the oldest sequence that was started.
    void finish()
    {
        if (m_started.empty())
            return;
        std::function<void()> done = std::move(m_started.front());
        m_started.pop_front();
        if (done)
            done();
    }
    int startedAndPlaying() const { return int(m_started.size()); }

    QStringList played;
    bool hold = false;
    int stops = 0;

private:
    static QString toneText(int frequencyHz, int durationMs)
    {
        return QStringLiteral("beep %1 %2").arg(frequencyHz).arg(durationMs);
    }
    void pretendToPlay()
    {
        m_playing = true;
        waitHook();
        m_playing = false;
    }
    bool m_playing = false;
    // Ends what was started only while this output lives.
    QObject m_context;
    std::deque<std::function<void()>> m_started;
};

} // namespace test
