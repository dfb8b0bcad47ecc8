#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits the bytes of a text file into lines the way the data files have
// always been read: a line is read into a buffer of `bufferSize` bytes, so a
// line of more than bufferSize-1 characters is taken in pieces, each piece
// counting as a line of its own. The line end right after a piece that
// filled the buffer ends that piece, so a line of exactly bufferSize-1
// characters reads back as one line, as the program wrote it. CR LF and a
// bare LF both end a line (the CR right before the LF is dropped, as text
// mode does); a last line without a line end is taken whole; a NUL byte ends
// the text of its line, as it ends a C string. An empty file has no lines.
std::vector<std::string> splitTextLines(std::string_view bytes, size_t bufferSize);

// The same lines one at a time, without copying them: each line is a view
// into `bytes`, valid as long as the bytes are. For files of many lines.
class TextLineReader
{
public:
    TextLineReader(std::string_view bytes, size_t bufferSize);

    // The next line; false at the end of the bytes.
    bool next(std::string_view* line);

private:
    std::string_view m_bytes;
    size_t m_pieceMax;
    size_t m_pos = 0;
    // The text of the line being given out in pieces.
    std::string_view m_rest;
    bool m_inLine = false;
};
