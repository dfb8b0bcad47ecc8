#include "platform/TextLines.h"

#include <algorithm>

std::vector<std::string> splitTextLines(std::string_view bytes, size_t bufferSize)
{
    // A buffer must hold at least one byte and the terminating zero, or no
    // read would ever move forward.
    const size_t pieceMax = std::max<size_t>(bufferSize, 2) - 1;

    // Text mode turns CR LF into LF before anything else sees the bytes; a CR
    // that is not followed by LF stays in the text.
    std::string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        text.push_back(bytes[i]);
    }

    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        // One read: up to pieceMax bytes, ending after the first LF.
        const size_t limit = std::min(text.size(), pos + pieceMax);
        size_t end = pos;
        while (end < limit && text[end] != '\n')
            ++end;
        const bool endsWithLineFeed = end < limit;
        std::string_view piece(text.data() + pos, end - pos);
        pos = endsWithLineFeed ? end + 1 : end;

        const size_t nul = piece.find('\0');
        if (nul != std::string_view::npos)
            piece = piece.substr(0, nul);
        lines.emplace_back(piece);
    }
    return lines;
}
