#include "contacts/ContactFileStream.h"

#include "contacts/ContactFileMessages.h"
#include "contacts/ContactFileReader.h"
#include "contacts/ImportProgress.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kChunkBytes = 64 * 1024;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool onlyBlanks(std::string_view text)
{
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

} // namespace

ContactFileStream::ContactFileStream(ImportProgress* progress) : m_progress(progress) {}

ContactFileStream::~ContactFileStream()
{
    m_file.close();
    if (m_fd >= 0)
        ::close(m_fd);
}

QString ContactFileStream::open(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    // Without blocking: a FIFO would hold the open until someone writes.
    m_fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        struct stat link
        {};
        if (errno == ENOENT && ::lstat(name.constData(), &link) != 0)
            return contactfile::missingMessage();
        return contactfile::cannotReadMessage();
    }
    struct stat info
    {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode))
        return contactfile::cannotReadMessage();
    // The size first: a file of gigabytes is not read to be refused.
    m_size = info.st_size;
    if (m_size > kMaxContactFileBytes)
        return contactfile::tooLargeMessage();
    if (m_progress) {
        m_progress->total = m_size;
        m_progress->done = 0;
    }
    while (m_text.size() < kChunkBytes && fill()) {
    }
    if (m_failed)
        return contactfile::cannotReadMessage();
    m_head = m_text.substr(0, kChunkBytes);
    if (onlyBlanks(m_head) && m_atEnd)
        return contactfile::emptyMessage();
    if (m_notText)
        return contactfile::unknownFormatMessage();
    return {};
}

bool ContactFileStream::stopped() const
{
    return m_progress && m_progress->stopped();
}

bool ContactFileStream::fill()
{
    if (m_atEnd || m_failed || stopped())
        return false;
    char chunk[kChunkBytes];
    ssize_t n;
    do {
        n = ::read(m_fd, chunk, sizeof chunk);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        m_failed = true;
        return false;
    }
    m_read += n;
    // It may have grown since it was opened.
    if (m_read > kMaxContactFileBytes) {
        m_failed = true;
        return false;
    }
    if (m_progress)
        m_progress->done = m_read;
    if (n == 0) {
        m_atEnd = true;
        if (m_utf16 && m_utf16->hasError())
            m_notText = true;
        return false;
    }
    // The text taken already is let go before more comes in.
    if (m_taken > 0) {
        m_text.erase(0, m_taken);
        m_taken = 0;
    }
    appendText(chunk, size_t(n));
    return true;
}

void ContactFileStream::appendText(const char* bytes, size_t size)
{
    std::string_view raw(bytes, size);
    if (m_bomPending && m_read == qint64(size) && size >= 2) {
        // Windows programs write "Unicode" text as UTF-16 with a byte order
        // mark; the readers take UTF-8.
        m_bomPending = false;
        if (startsWith(raw, "\xFF\xFE") || startsWith(raw, "\xFE\xFF")) {
            m_utf16.emplace(startsWith(raw, "\xFF\xFE") ? QStringDecoder::Utf16LE
                                                        : QStringDecoder::Utf16BE);
            raw.remove_prefix(2);
        } else if (startsWith(raw, kUtf8Bom)) {
            raw.remove_prefix(kUtf8Bom.size());
        }
    }
    const size_t from = m_text.size();
    if (m_utf16) {
        const QString text = (*m_utf16)(QByteArrayView(raw.data(), qsizetype(raw.size())));
        if (m_utf16->hasError())
            m_notText = true;
        m_text += text.toStdString();
    } else {
        m_text.append(raw);
    }
    // Text files hold no NUL; images, archives and programs do.
    if (m_text.find('\0', from) != std::string::npos)
        m_notText = true;
}

bool ContactFileStream::nextLine(std::string* line, size_t maxBytes, bool* cut)
{
    line->clear();
    if (cut)
        *cut = false;
    bool tooLong = false;
    for (;;) {
        const size_t end = m_text.find('\n', m_taken);
        const size_t stop = end == std::string::npos ? m_text.size() : end;
        if (!tooLong) {
            const size_t room = maxBytes - line->size();
            line->append(m_text, m_taken, std::min(room, stop - m_taken));
            tooLong = stop - m_taken > room;
        }
        if (end != std::string::npos) {
            m_taken = end + 1;
            break;
        }
        m_taken = m_text.size();
        if (!fill()) {
            // The last line has no line end; nothing at all is no line.
            if (m_failed || stopped() || (line->empty() && !tooLong))
                return false;
            break;
        }
    }
    if (!line->empty() && line->back() == '\r')
        line->pop_back();
    if (cut)
        *cut = tooLong;
    if (m_notText)
        m_failed = true;
    return !m_notText;
}

QIODevice& ContactFileStream::device()
{
    if (!m_file.isOpen()) {
        ::lseek(m_fd, 0, SEEK_SET);
        m_file.open(m_fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle);
    }
    return m_file;
}

void ContactFileStream::reportPosition()
{
    if (m_progress)
        m_progress->done = m_file.pos();
}

bool ContactFileStream::rewind()
{
    if (::lseek(m_fd, 0, SEEK_SET) != 0)
        return false;
    m_text.clear();
    m_taken = 0;
    m_read = 0;
    m_atEnd = false;
    m_failed = false;
    m_bomPending = true;
    m_utf16.reset();
    return true;
}
