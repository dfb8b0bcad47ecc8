#include "support/TempDataDir.h"

#include "support/FileUtil.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace test {

TempDataDir::TempDataDir()
{
    EXPECT_TRUE(m_dir.isValid()) << "cannot create a temporary directory";
}

QString TempDataDir::file(const QString& name) const
{
    return QDir(m_dir.path()).filePath(name);
}

void TempDataDir::write(const QString& name, const std::string& bytes) const
{
    writeFile(file(name), bytes);
}

std::string TempDataDir::read(const QString& name) const
{
    return readFile(file(name));
}

bool TempDataDir::exists(const QString& name) const
{
    return QFileInfo::exists(file(name));
}

} // namespace test
