#include "platform/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    const QByteArray all = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return FileReadState::Unreadable;
    bytes->assign(all.constData(), size_t(all.size()));
    return FileReadState::Read;
}
