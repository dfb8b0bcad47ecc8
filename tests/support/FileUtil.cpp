#include "support/FileUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace test {

void writeFile(const QString& path, const std::string& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
}

std::string readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray all = f.readAll();
    return std::string(all.constData(), size_t(all.size()));
}

QStringList callersIn(const QString& callLog)
{
    const QStringList lines =
        QString::fromStdString(readFile(callLog)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QStringList callers;
    for (int i = 3; i < lines.size(); i += 4)
        callers << lines[i];
    return callers;
}

} // namespace test
