#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes a descriptor when the scope ends.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Reads to the end; false on an error.
bool readToEnd(int fd, std::string* bytes, size_t expected)
{
    bytes->resize(expected);
    size_t got = 0;
    for (;;) {
        // Whatever the file grew by meanwhile is read too.
        if (got == bytes->size())
            bytes->resize(std::max<size_t>(bytes->size() * 2, 4096));
        const ssize_t n = ::read(fd, bytes->data() + got, bytes->size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += size_t(n);
    }
    bytes->resize(got);
    return true;
}

} // namespace

bool replaceFileAtomically(const QString& path, std::string_view bytes)
{
    struct stat target
    {};
    const bool exists = ::stat(QFile::encodeName(path).constData(), &target) == 0;
    if (exists && !S_ISREG(target.st_mode))
        return false;

    // QSaveFile writes to a temporary file next to the target, syncs it to
    // the disk and renames it over the target only when everything
    // succeeded. Writing the file in place as a fallback would defeat that,
    // so the fallback stays off (its default).
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // QSaveFile gives a new file the umask's permissions (mostly readable
    // by everyone), and an existing file's to its replacement.
    if (!exists && ::fchmod(file.handle(), S_IRUSR | S_IWUSR) != 0) {
        file.cancelWriting();
        return false;
    }
    if (!bytes.empty()) {
        const qint64 written = file.write(bytes.data(), qint64(bytes.size()));
        if (written != qint64(bytes.size())) {
            file.cancelWriting();
            return false;
        }
    }
    return file.commit();
}

bool makePrivateDirectory(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return true;
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    const QByteArray name = QFile::encodeName(info.absoluteFilePath());
    return ::mkdir(name.constData(), S_IRWXU) == 0 || (errno == EEXIST && QFileInfo(path).isDir());
}

FileReadState readWholeFile(const QString& path, std::string* bytes)
{
    bytes->clear();
    const QByteArray name = QFile::encodeName(path);
    // Without blocking: a FIFO would hold the open until someone writes.
    const Descriptor fd(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        struct stat link
        {};
        // A symbolic link to nothing is a file that cannot be read.
        if (errno == ENOENT && ::lstat(name.constData(), &link) != 0)
            return FileReadState::Missing;
        return FileReadState::Unreadable;
    }
    struct stat info
    {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return FileReadState::Unreadable;
    // Straight into the string: the call log can be megabytes, and a copy
    // through a QByteArray would double the memory touched.
    if (!readToEnd(fd.get(), bytes, size_t(std::max<off_t>(info.st_size, 0)))) {
        bytes->clear();
        return FileReadState::Unreadable;
    }
    return FileReadState::Read;
}

int removeLeftoverSaves(const QString& path)
{
    const QFileInfo file(path);
    // Exactly the temporary names QSaveFile gives: the file's name, a dot
    // and six letters or digits.
    const QRegularExpression leftover(
        QStringLiteral("^%1\\.[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(file.fileName())));
    int removed = 0;
    const QDir dir = file.absoluteDir();
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (leftover.match(name).hasMatch() && QFile::remove(dir.filePath(name)))
            ++removed;
    }
    return removed;
}
