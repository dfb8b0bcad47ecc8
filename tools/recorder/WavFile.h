#pragma once

#include <QByteArray>
#include <QString>

// The WAV files the recorder writes: PCM, 16 bit, one channel.
namespace wavfile {

// A whole file (the 44-byte RIFF header, then the samples) for little-endian
// signed 16-bit mono samples at the given rate.
QByteArray fileBytes(const QByteArray& samples, int sampleRate);

// Writes the file through QSaveFile: the path holds either its old content
// or the whole new file, never half a file. False, with the reason in
// `error`, when it could not be written.
bool save(const QString& path, const QByteArray& samples, int sampleRate, QString* error);

} // namespace wavfile
