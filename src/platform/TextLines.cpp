#include "platform/TextLines.h"

#include <algorithm>
#include <cstring>

TextLineReader::TextLineReader(std::string_view bytes, size_t bufferSize)
    : m_bytes(bytes)
      // A buffer must hold at least one byte and the terminating zero, or no
      // read would ever move forward.
      ,
      m_pieceMax(std::max<size_t>(bufferSize, 2) - 1)
{}

bool TextLineReader::next(std::string_view* line)
{
    if (!m_inLine) {
        if (m_pos >= m_bytes.size())
            return false;
        // Text mode turns CR LF into LF before the reads see the bytes, so
        // the CR right before a line feed is not part of the text; any other
        // CR is.
        const char* start = m_bytes.data() + m_pos;
        const size_t left = m_bytes.size() - m_pos;
        const auto* lineFeed = static_cast<const char*>(std::memchr(start, '\n', left));
        if (lineFeed) {
            size_t length = size_t(lineFeed - start);
            m_pos += length + 1;
            if (length > 0 && start[length - 1] == '\r')
                --length;
            m_rest = std::string_view(start, length);
        } else {
            m_pos = m_bytes.size();
            m_rest = std::string_view(start, left);
        }
        m_inLine = true;
    }

    // One read takes up to m_pieceMax bytes, the line feed included. The
    // line feed right after a piece that filled the buffer belongs to that
    // piece, not to an empty line of its own: the program writes fields of
    // up to m_pieceMax bytes and must read them back as it wrote them.
    std::string_view piece;
    if (m_rest.size() >= m_pieceMax) {
        piece = m_rest.substr(0, m_pieceMax);
        m_rest.remove_prefix(m_pieceMax);
        if (m_rest.empty())
            m_inLine = false;
    } else {
        piece = m_rest;
        m_inLine = false;
    }

    const size_t nul = piece.find('\0');
    if (nul != std::string_view::npos)
        piece = piece.substr(0, nul);
    *line = piece;
    return true;
}

std::vector<std::string> splitTextLines(std::string_view bytes, size_t bufferSize)
{
    std::vector<std::string> lines;
    lines.reserve(size_t(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    TextLineReader reader(bytes, bufferSize);
    std::string_view line;
    while (reader.next(&line))
        lines.emplace_back(line);
    return lines;
}
