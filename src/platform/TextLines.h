#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits the bytes of a text file into lines the way the data files have
// always been read: a line is read into a buffer of `bufferSize` bytes, so a
// line of bufferSize-1 characters or more (counting its line feed) is taken in
// pieces, each piece counting as a line of its own. CR LF and a bare LF both
// end a line (the CR right before the LF is dropped, as text mode does); a
// last line without a line end is taken whole; a NUL byte ends the text of its
// line, as it ends a C string. An empty file has no lines.
std::vector<std::string> splitTextLines(std::string_view bytes, size_t bufferSize);
