#include "WavFile.h"

#include <QSaveFile>
#include <QtEndian>

namespace wavfile {

namespace {

constexpr quint16 kPcmFormat = 1;
constexpr quint16 kChannels = 1;
constexpr quint16 kBitsPerSample = 16;
constexpr quint32 kFormatChunkSize = 16;
constexpr int kHeaderSize = 44;

void appendTag(QByteArray& out, const char (&tag)[5])
{
    out.append(tag, 4);
}

void append16(QByteArray& out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void append32(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

} // namespace

QByteArray fileBytes(const QByteArray& samples, int sampleRate)
{
    const quint16 blockAlign = kChannels * kBitsPerSample / 8;
    // Whole samples only: a stray odd byte would make the data chunk lie.
    const quint32 dataSize = quint32(samples.size()) / blockAlign * blockAlign;

    QByteArray out;
    out.reserve(kHeaderSize + int(dataSize));
    appendTag(out, "RIFF");
    append32(out, 36 + dataSize);
    appendTag(out, "WAVE");
    appendTag(out, "fmt ");
    append32(out, kFormatChunkSize);
    append16(out, kPcmFormat);
    append16(out, kChannels);
    append32(out, quint32(sampleRate));
    append32(out, quint32(sampleRate) * blockAlign);
    append16(out, blockAlign);
    append16(out, kBitsPerSample);
    appendTag(out, "data");
    append32(out, dataSize);
    out.append(samples.constData(), int(dataSize));
    return out;
}

bool save(const QString& path, const QByteArray& samples, int sampleRate, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    const QByteArray bytes = fileBytes(samples, sampleRate);
    if (file.write(bytes) != bytes.size()) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace wavfile
