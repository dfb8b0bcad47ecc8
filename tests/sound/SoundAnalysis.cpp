#include "SoundAnalysis.h"

#include "support/FileUtil.h"

#include <QtEndian>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace test {

std::vector<int16_t> readSamples(const QString& rawFile)
{
    const std::string bytes = readFile(rawFile);
    std::vector<int16_t> samples(bytes.size() / 2);
    if (!samples.empty())
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

std::vector<Burst> findBursts(const std::vector<int16_t>& s, int rate, int threshold, double gapMs)
{
    std::vector<Burst> bursts;
    const size_t gap = size_t(gapMs * rate / 1000);
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && std::abs(int(s[i])) < threshold)
            ++i;
        if (i == s.size())
            break;
        const size_t start = i;
        size_t lastLoud = i;
        while (i < s.size() && i - lastLoud < gap) {
            if (std::abs(int(s[i])) >= threshold)
                lastLoud = i;
            ++i;
        }
        // The pitch from the zero crossings between the first and the last.
        size_t firstCrossing = 0;
        size_t lastCrossing = 0;
        int crossings = 0;
        for (size_t k = start + 1; k <= lastLoud; ++k) {
            if ((s[k - 1] < 0) != (s[k] < 0)) {
                if (crossings == 0)
                    firstCrossing = k;
                lastCrossing = k;
                ++crossings;
            }
        }
        Burst b;
        b.startMs = double(start) * 1000 / rate;
        b.durationMs = double(lastLoud - start + 1) * 1000 / rate;
        if (crossings > 1)
            b.frequencyHz = (crossings - 1) / 2.0 / (double(lastCrossing - firstCrossing) / rate);
        bursts.push_back(b);
    }
    return bursts;
}

QByteArray sineWav(int frequencyHz, int durationMs, int rate, int channels, int bits)
{
    const int frames = rate * durationMs / 1000;
    const int bytesPerSample = bits / 8;
    QByteArray data;
    for (int f = 0; f < frames; ++f) {
        const double v = std::sin(2 * M_PI * frequencyHz * f / rate) * 0.6;
        for (int c = 0; c < channels; ++c) {
            if (bits == 8) {
                data.append(char(uint8_t(128 + std::lround(v * 127))));
            } else {
                const int16_t x = qToLittleEndian(int16_t(std::lround(v * 32767)));
                data.append(reinterpret_cast<const char*>(&x), 2);
            }
        }
    }
    auto u32 = [](quint32 v) {
        v = qToLittleEndian(v);
        return QByteArray(reinterpret_cast<const char*>(&v), 4);
    };
    auto u16 = [](quint16 v) {
        v = qToLittleEndian(v);
        return QByteArray(reinterpret_cast<const char*>(&v), 2);
    };
    QByteArray wav = "RIFF" + u32(quint32(36 + data.size())) + "WAVEfmt " + u32(16) + u16(1) +
                     u16(quint16(channels)) + u32(quint32(rate)) +
                     u32(quint32(rate * channels * bytesPerSample)) +
                     u16(quint16(channels * bytesPerSample)) + u16(quint16(bits)) + "data" +
                     u32(quint32(data.size())) + data;
    return wav;
}

std::vector<Burst> wholeBursts(const QString& rawFile, int sampleRate)
{
    const std::vector<int16_t> samples = readSamples(rawFile);
    std::vector<Burst> bursts = findBursts(samples, sampleRate);
    const double writtenMs = samples.size() * 1000.0 / sampleRate;
    if (bursts.empty() || writtenMs <= bursts[0].startMs + bursts[0].durationMs + 50)
        return {};
    return bursts;
}

} // namespace test
