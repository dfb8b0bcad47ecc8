#include "AtomicFile.h"

#include <QFile>
#include <QSaveFile>

bool writeFileAtomically(const std::string& path, const std::string& content, std::string& error)
{
    QSaveFile file(QFile::decodeName(path.c_str()));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(content.data(), qint64(content.size())) != qint64(content.size()) ||
        !file.commit()) {
        error = "cannot write " + path + ": " + file.errorString().toStdString();
        return false;
    }
    return true;
}
