#pragma once

#include <QString>
#include <QTemporaryDir>

#include <string>

namespace test {

// A fresh, empty data directory for one test, removed afterwards.
class TempDataDir
{
public:
    TempDataDir();

    QString path() const { return m_dir.path(); }
    // Absolute path of a file inside the directory.
    QString file(const QString& name) const;

    // Writes raw bytes to a file inside the directory (folders are created).
    void write(const QString& name, const std::string& bytes) const;
    // Reads a file inside the directory; empty when it does not exist.
    std::string read(const QString& name) const;
    bool exists(const QString& name) const;

private:
    QTemporaryDir m_dir;
};

} // namespace test
