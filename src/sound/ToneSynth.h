#pragma once

#include <QByteArray>

// Mono signed 16-bit samples in the machine's byte order.
namespace tonesynth {

// A sine tone with a short fade at both ends, so it starts and stops
// without a click.
QByteArray sine(int frequencyHz, int durationMs, int sampleRate, double amplitude = 0.5);

// The short two-note chime that stands in for a sound file that cannot be
// played.
QByteArray defaultSound(int sampleRate);

} // namespace tonesynth
