#pragma once

#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <optional>
#include <string>
#include <string_view>

struct ImportProgress;

// True when the bytes begin with the prefix.
inline bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// A contact file read piece by piece, never held whole: a phone's export
// with photos runs to hundreds of megabytes, of which an import keeps only
// names and numbers. Text that is UTF-16 (as Windows programs write
// "Unicode") is handed on as UTF-8. Reading stops early when the progress
// says the import was cancelled; it counts the bytes read there too.
class ContactFileStream
{
public:
    explicit ContactFileStream(ImportProgress* progress = nullptr);
    ~ContactFileStream();
    ContactFileStream(const ContactFileStream&) = delete;
    ContactFileStream& operator=(const ContactFileStream&) = delete;

    // Opens the file and reads its beginning. Empty when it can be read;
    // otherwise the message that says why not (missing, no regular file,
    // too large, unreadable, empty, not text).
    QString open(const QString& path);

    // The beginning of the text, as UTF-8 when the file is UTF-16, without
    // a byte order mark: enough to tell the format.
    const std::string& head() const { return m_head; }

    // The next line of the text from the start, without its line end. A line
    // longer than `maxBytes` is cut there and its rest passed over; *cut
    // then says so. False at the end, after an error, or when stopped.
    bool nextLine(std::string* line, size_t maxBytes, bool* cut = nullptr);

    // The file as it is on disk, from its beginning, for a reader that
    // decodes it itself (XML). Call reportPosition() as it is read.
    QIODevice& device();
    void reportPosition();

    // Back to the beginning, for a second reading in another encoding.
    bool rewind();

    bool failed() const { return m_failed; }
    // A NUL or an undecodable UTF-16 sequence: binary, not a text format.
    bool notText() const { return m_notText; }
    bool stopped() const;

private:
    bool fill();
    void appendText(const char* bytes, size_t size);

    ImportProgress* m_progress;
    int m_fd = -1;
    qint64 m_size = 0;
    qint64 m_read = 0;
    bool m_atEnd = false;
    bool m_failed = false;
    bool m_notText = false;
    bool m_bomPending = true;
    std::optional<QStringDecoder> m_utf16;
    std::string m_text; // decoded and not yet taken
    size_t m_taken = 0;
    std::string m_head;
    QFile m_file;
};
