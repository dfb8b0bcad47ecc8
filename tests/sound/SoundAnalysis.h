#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace test {

// Mono signed 16-bit samples, as SDL's disk driver writes them for us.
std::vector<int16_t> readSamples(const QString& rawFile);

// A stretch of sound between silences.
struct Burst
{
    double startMs = 0;
    double durationMs = 0;
    double frequencyHz = 0; // from the zero crossings
};

// The bursts of sound in the samples: runs louder than `threshold` that are
// separated by at least `gapMs` of quiet.
std::vector<Burst> findBursts(const std::vector<int16_t>& samples, int sampleRate,
                              int threshold = 1000, double gapMs = 20);

// The bursts in a disk driver's file once the first of them is whole: quiet
// follows it (the driver writes as the sound plays). Empty before then.
std::vector<Burst> wholeBursts(const QString& rawFile, int sampleRate = 44100);

// A PCM WAV file holding a sine tone.
QByteArray sineWav(int frequencyHz, int durationMs, int sampleRate, int channels, int bits);

} // namespace test
