#include "sound/ToneSynth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tonesynth {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr int kFadeMs = 5;
} // namespace

QByteArray sine(int frequencyHz, int durationMs, int sampleRate, double amplitude)
{
    const qint64 count = std::max<qint64>(0, qint64(sampleRate) * durationMs / 1000);
    const qint64 fade = std::min<qint64>(count / 2, qint64(sampleRate) * kFadeMs / 1000);
    QByteArray out(int(count * 2), Qt::Uninitialized);
    auto* samples = reinterpret_cast<int16_t*>(out.data());
    for (qint64 i = 0; i < count; ++i) {
        double gain = amplitude;
        if (fade > 0 && i < fade)
            gain *= double(i) / double(fade);
        else if (fade > 0 && i >= count - fade)
            gain *= double(count - 1 - i) / double(fade);
        const double v = std::sin(2.0 * kPi * frequencyHz * double(i) / sampleRate);
        samples[i] = int16_t(std::lround(v * gain * 32767.0));
    }
    return out;
}

QByteArray defaultSound(int sampleRate)
{
    return sine(880, 120, sampleRate, 0.4) + sine(660, 180, sampleRate, 0.4);
}

} // namespace tonesynth
