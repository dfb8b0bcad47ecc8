#include "platform/TextLines.h"

#include <gtest/gtest.h>
#include <random>

using Lines = std::vector<std::string>;

TEST(TextLines, LineEndsAndTheLastLine)
{
    EXPECT_EQ(splitTextLines("", 200), Lines{});
    EXPECT_EQ(splitTextLines("a\r\nb\r\n", 200), (Lines{"a", "b"}));
    EXPECT_EQ(splitTextLines("a\nb\n", 200), (Lines{"a", "b"}));
    EXPECT_EQ(splitTextLines("a\r\nb", 200), (Lines{"a", "b"}));
    EXPECT_EQ(splitTextLines("\n\r\n\n", 200), (Lines{"", "", ""}));
    // A CR that does not end a line stays in the text, also at the very end.
    EXPECT_EQ(splitTextLines("a\rb\r\r\nc\r", 200), (Lines{"a\rb\r", "c\r"}));
}

TEST(TextLines, LongLinesAreReadInPieces)
{
    // A buffer of 200 bytes takes 199 bytes a read: 198 characters and the
    // line feed fit; after 199 characters the line feed still ends that
    // line, so that a field of 199 reads back as the one line it was.
    const std::string fits(198, 'x');
    EXPECT_EQ(splitTextLines(fits + "\r\nnext\r\n", 200), (Lines{fits, "next"}));

    const std::string full(199, 'y');
    EXPECT_EQ(splitTextLines(full + "\r\nnext\r\n", 200), (Lines{full, "next"}));
    EXPECT_EQ(splitTextLines(full + "\n\nnext", 200), (Lines{full, "", "next"}));

    const std::string longer(450, 'z');
    EXPECT_EQ(splitTextLines(longer + "\n", 200),
              (Lines{std::string(199, 'z'), std::string(199, 'z'), std::string(52, 'z')}));

    // CR LF counts as one byte: it is turned into LF before the reads.
    const std::string crlfFits(198, 'c');
    EXPECT_EQ(splitTextLines(crlfFits + "\r\n", 200), Lines{crlfFits});
}

TEST(TextLines, NulEndsTheTextOfItsLine)
{
    EXPECT_EQ(splitTextLines(std::string("ab\0cd\nef\n", 9), 200), (Lines{"ab", "ef"}));
    EXPECT_EQ(splitTextLines(std::string("\0\n", 2), 200), Lines{""});
}

TEST(TextLines, RandomBytesNeverLoseTheLineCount)
{
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(size_t(random() % 2000), '\0');
        for (char& c : bytes)
            c = static_cast<char>(byte(random));
        const Lines lines = splitTextLines(bytes, 200);
        size_t total = 0;
        for (const std::string& line : lines) {
            EXPECT_LE(line.size(), 199u);
            total += line.size();
        }
        EXPECT_LE(total, bytes.size());
        // Every read takes at least one byte, so there are never more lines
        // than bytes, and a non-empty file has at least one line.
        EXPECT_LE(lines.size(), bytes.size());
        EXPECT_EQ(lines.empty(), bytes.empty());
    }
}

namespace {

// The rule written out the slow way: turn CR LF into LF, then read pieces of
// at most bufferSize-1 bytes ending after a LF, drop that LF (or the LF right
// after a piece that filled the buffer), stop at a NUL.
Lines referenceLines(const std::string& bytes, size_t bufferSize)
{
    std::string text;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n'))
            text.push_back(bytes[i]);
    }
    Lines lines;
    size_t pos = 0;
    while (pos < text.size()) {
        std::string piece;
        while (pos < text.size() && piece.size() < bufferSize - 1) {
            piece.push_back(text[pos++]);
            if (piece.back() == '\n')
                break;
        }
        if (piece.back() == '\n')
            piece.pop_back();
        else if (pos < text.size() && text[pos] == '\n')
            ++pos;
        lines.push_back(piece.substr(0, piece.find('\0')));
    }
    return lines;
}

} // namespace

TEST(TextLines, AgreesWithTheRuleOnRandomLineEnds)
{
    // Mostly line ends, CRs and NULs, so that every boundary case comes up:
    // CR LF split across a piece boundary, lines of exactly the piece size,
    // a CR at the very end.
    std::mt19937 random(7);
    const char alphabet[] = {'\r', '\n', '\0', 'a', 'b'};
    for (int round = 0; round < 3000; ++round) {
        std::string bytes(size_t(random() % 40), '\0');
        for (char& c : bytes)
            c = alphabet[random() % sizeof alphabet];
        const size_t bufferSize = 2 + random() % 6;
        ASSERT_EQ(splitTextLines(bytes, bufferSize), referenceLines(bytes, bufferSize))
            << "buffer " << bufferSize << ", round " << round;
    }
}

TEST(TextLines, TinyBuffersStillMoveForward)
{
    EXPECT_EQ(splitTextLines("ab\n", 2), (Lines{"a", "b"}));
    EXPECT_EQ(splitTextLines("ab", 0), (Lines{"a", "b"}));
}
