#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Every path into the "sound/" directory of the data directory is made here
// and nowhere else. A file name can come from the line (a caller's number),
// from a hand-edited phone book or from a window's field, so it is checked:
// a name that is empty, "." or "..", longer than a file name may be, or that
// holds '/', '\\', NUL or another control byte has no path at all. Names are
// compared as on Windows, where the letters' case does not matter.
namespace soundfiles {

// "<dataDir>/sound"
QString soundDir(const QString& dataDir);

// True when fileName may name a file inside "sound/".
bool isSafeFileName(std::string_view fileName);

// "<dataDir>/sound/<fileName>", or nothing when the name is not safe.
std::optional<QString> pathFor(const QString& dataDir, std::string_view fileName);

// The existing regular file in "sound/" whose name equals fileName with the
// letters A-Z compared without case, or nothing. The name is never taken as a
// wildcard pattern. An exact match is preferred to one that differs in case.
std::optional<QString> findExisting(const QString& dataDir, std::string_view fileName);

// True when two file names are equal with the letters A-Z compared without
// case, as Windows compares them.
bool sameFileName(std::string_view a, std::string_view b);

// The name with the letters A-Z made small: the key under which two names
// that sameFileName calls equal are equal.
std::string foldedFileName(std::string_view name);

// A file found in "sound/": its name as code page 1252 bytes, and its path.
struct SoundFile
{
    std::string name;
    QString path;
};

// The regular files in "sound/" whose names end in `suffix` (letters A-Z
// without case), in name order. A name that code page 1252 cannot write, or
// that isSafeFileName refuses, is left out: no number can name such a file.
std::vector<SoundFile> listFiles(const QString& dataDir, std::string_view suffix);

} // namespace soundfiles
