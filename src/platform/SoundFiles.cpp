#include "platform/SoundFiles.h"

#include "platform/Cp1252.h"

#include <QDir>
#include <QFileInfo>

namespace soundfiles {

namespace {

// The longest file name Linux file systems take, in bytes of the name as it
// is written to the disk (UTF-8).
constexpr qsizetype kMaxFileNameBytes = 255;

char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

QChar foldAscii(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') ? QChar(char16_t(u - u'A' + u'a')) : c;
}

bool sameQFileName(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (foldAscii(a[i]) != foldAscii(b[i]))
            return false;
    }
    return true;
}

bool endsWithIgnoringCase(std::string_view name, std::string_view suffix)
{
    return name.size() >= suffix.size() &&
           sameFileName(name.substr(name.size() - suffix.size()), suffix);
}

} // namespace

QString soundDir(const QString& dataDir)
{
    return QDir(dataDir).filePath(QStringLiteral("sound"));
}

bool isSafeFileName(std::string_view fileName)
{
    if (fileName.empty() || fileName == "." || fileName == "..")
        return false;
    for (const char c : fileName) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '/' || c == '\\')
            return false;
    }
    return cp1252::toQString(fileName).toUtf8().size() <= kMaxFileNameBytes;
}

std::optional<QString> pathFor(const QString& dataDir, std::string_view fileName)
{
    if (!isSafeFileName(fileName))
        return std::nullopt;
    return QDir(soundDir(dataDir)).filePath(cp1252::toQString(fileName));
}

std::optional<QString> findExisting(const QString& dataDir, std::string_view fileName)
{
    const std::optional<QString> exact = pathFor(dataDir, fileName);
    if (!exact)
        return std::nullopt;
    if (QFileInfo(*exact).isFile())
        return exact;

    // Only when the exact name is not there: the same name in another letter
    // case, as Windows would find it. The directory is listed and compared
    // name by name, so nothing in the name is ever taken as a pattern.
    const QDir dir(soundDir(dataDir));
    const QString wanted = cp1252::toQString(fileName);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& entry : entries) {
        if (sameQFileName(entry, wanted))
            return dir.filePath(entry);
    }
    return std::nullopt;
}

std::string foldedFileName(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded)
        c = foldAscii(c);
    return folded;
}

bool sameFileName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (foldAscii(a[i]) != foldAscii(b[i]))
            return false;
    }
    return true;
}

std::vector<SoundFile> listFiles(const QString& dataDir, std::string_view suffix)
{
    std::vector<SoundFile> files;
    const QDir dir(soundDir(dataDir));
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& entry : entries) {
        bool encodable = false;
        std::string name = cp1252::fromQString(entry, &encodable);
        if (!encodable || !isSafeFileName(name) || !endsWithIgnoringCase(name, suffix))
            continue;
        files.push_back({std::move(name), dir.filePath(entry)});
    }
    return files;
}

} // namespace soundfiles
