#include "platform/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

bool replaceFileAtomically(const QString& path, std::string_view bytes)
{
    // QSaveFile writes to a temporary file next to the target, syncs it to
    // the disk and renames it over the target only when everything
    // succeeded. Writing the file in place as a fallback would defeat that,
    // so the fallback stays off (its default).
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!bytes.empty()) {
        const qint64 written = file.write(bytes.data(), qint64(bytes.size()));
        if (written != qint64(bytes.size())) {
            file.cancelWriting();
            return false;
        }
    }
    return file.commit();
}

FileReadState readWholeFile(const QString& path, std::string* bytes)
{
    bytes->clear();
    const QFileInfo info(path);
    if (!info.exists())
        return info.isSymLink() ? FileReadState::Unreadable : FileReadState::Missing;
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        return FileReadState::Unreadable;
    // Straight into the string: the call log can be megabytes, and a copy
    // through a QByteArray would double the memory touched.
    const qint64 expected = std::max<qint64>(file.size(), 0);
    bytes->resize(size_t(expected));
    qint64 got = 0;
    while (got < expected) {
        const qint64 n = file.read(bytes->data() + got, expected - got);
        if (n < 0) {
            bytes->clear();
            return FileReadState::Unreadable;
        }
        if (n == 0)
            break;
        got += n;
    }
    bytes->resize(size_t(got));
    // Whatever the file grew by meanwhile (or all of a file that tells no size).
    const QByteArray rest = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        bytes->clear();
        return FileReadState::Unreadable;
    }
    bytes->append(rest.constData(), size_t(rest.size()));
    return FileReadState::Read;
}
