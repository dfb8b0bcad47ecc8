#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace test {

// Writes bytes to a file, creating its folder; fails the test on error.
void writeFile(const QString& path, const std::string& bytes);
// Reads a whole file as bytes; empty when it cannot be read.
std::string readFile(const QString& path);
// The callers of a call log file, in file order (four lines a call, the
// caller last).
QStringList callersIn(const QString& callLog);

} // namespace test
